// CommonDlg (通用对话框): a component without a face that shows the open-file, save-file or font
// dialog, or a help file, when the application calls Open. Its properties are the dialog's
// inputs and, after OK, its outputs; cancelling changes nothing.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "commands/command_values.h"
#include "components/control_style.h"
#include "components/picture_box_properties.h"
#include "components/standard_types.h"
#include "forms/form_window.h"
#include "forms/units.h"

namespace ruvelto::components {
namespace {

enum CommonDlgProperty : int32_t {
    kDialogType, kTitle, kFileName, kFileFilter, kFilterIndex, kInitialDirectory, kDefaultExtension, kCreatePrompt,
    kFileMustExist, kOverwritePrompt, kPathMustExist, kKeepDirectory, kFontColor, kFontBold, kFontItalic,
    kFontStrikeOut, kFontUnderline, kFontName, kFontSize, kHelpFile, kHelpCommand, kHelpContext,
};

const char* DialogClassName() {
    static const char* const name = [] {
        static const char kName[] = "RuveltoCommonDialog";
        WNDCLASSA c{};
        c.style = CS_DBLCLKS;
        c.lpfnWndProc = DefWindowProcA;
        c.hInstance = GetModuleHandleA(nullptr);
        c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        c.lpszClassName = kName;
        RegisterClassA(&c);
        return kName;
    }();
    return name;
}

}  // namespace

// The filter as the platform takes it: trailing white space removed, "||" appended when missing,
// and every bar (never the second byte of a double-byte character) a zero.
std::vector<char> PlatformFilter(const std::string& filter) {
    std::string text = filter;
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    std::vector<char> result;
    if (text.empty()) return result;
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "||") != 0) text += "||";
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size()) {
            result.push_back(text[i]);
            result.push_back(text[++i]);
            continue;
        }
        result.push_back(text[i] == '|' ? '\0' : text[i]);
    }
    result.push_back('\0');
    return result;
}

class CommonDlg : public ComponentBase {
public:
    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(PropertyBlobWriter& blob) const override { p_.Save(blob); }

    bool CreateControl(const CreateArguments& a, DWORD style) override {
        return CreateChild(0, DialogClassName(), "", style, a);
    }

    uint32_t SetProperty(int32_t index, const forms::PropertyData& v) override {
        const uint32_t value = IntegerOf(v);
        const auto nonNegative = [](uint32_t x) { return static_cast<int32_t>(x) < 0 ? 0u : x; };
        switch (index) {
            case kDialogType: p_.dialogType = ClampChoice(value, 3); break;
            case kFilterIndex: p_.filterIndex = nonNegative(value); break;
            case kFontSize: p_.fontSize = nonNegative(value); break;
            case kHelpCommand: p_.helpCommand = ClampChoice(value, 5); break;
            default:
                if (std::string* text = Text(index)) *text = TextOf(v);
                else if (uint32_t* word = Word(index)) *word = value;
                break;
        }
        return 0;
    }

    bool GetProperty(int32_t index, forms::PropertyData* v) override {
        if (std::string* text = Text(index)) return *v = TextData(*text), true;
        if (uint32_t* word = Word(index)) return *v = IntegerData(*word), true;
        return false;
    }

    bool Open() {
        switch (p_.dialogType) {
            case 0:
            case 1: return FileDialog(p_.dialogType == 1);
            case 2: return FontDialog();
            default: return Help();
        }
    }

private:
    std::string* Text(int32_t index) {
        switch (index) {
            case kTitle: return &p_.title;
            case kFileName: return &p_.fileName;
            case kFileFilter: return &p_.fileFilter;
            case kInitialDirectory: return &p_.initialDirectory;
            case kDefaultExtension: return &p_.defaultExtension;
            case kFontName: return &p_.fontName;
            case kHelpFile: return &p_.helpFile;
            default: return nullptr;
        }
    }

    uint32_t* Word(int32_t index) {
        switch (index) {
            case kDialogType: return &p_.dialogType;
            case kFilterIndex: return &p_.filterIndex;
            case kCreatePrompt: return &p_.createPrompt;
            case kFileMustExist: return &p_.fileMustExist;
            case kOverwritePrompt: return &p_.overwritePrompt;
            case kPathMustExist: return &p_.pathMustExist;
            case kKeepDirectory: return &p_.keepDirectory;
            case kFontColor: return &p_.fontColor;
            case kFontBold: return &p_.fontBold;
            case kFontItalic: return &p_.fontItalic;
            case kFontStrikeOut: return &p_.fontStrikeOut;
            case kFontUnderline: return &p_.fontUnderline;
            case kFontSize: return &p_.fontSize;
            case kHelpCommand: return &p_.helpCommand;
            case kHelpContext: return &p_.helpContext;
            default: return nullptr;
        }
    }

    bool FileDialog(bool save) {
        DWORD flags = OFN_HIDEREADONLY;
        if (p_.createPrompt == 1) flags |= OFN_CREATEPROMPT;
        if (p_.fileMustExist == 1) flags |= OFN_FILEMUSTEXIST;
        if (p_.overwritePrompt == 1) flags |= OFN_OVERWRITEPROMPT;
        if (p_.pathMustExist == 1) flags |= OFN_PATHMUSTEXIST;
        if (p_.keepDirectory == 1) flags |= OFN_NOCHANGEDIR;
        const std::vector<char> filter = PlatformFilter(p_.fileFilter);
        std::vector<char> file(4096, '\0');
        std::copy_n(p_.fileName.begin(), std::min<size_t>(p_.fileName.size(), file.size() - 1), file.begin());

        OPENFILENAMEA dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.lpstrFilter = filter.empty() ? nullptr : filter.data();
        dialog.nFilterIndex = filter.empty() ? 0 : p_.filterIndex + 1;
        dialog.lpstrFile = file.data();
        dialog.nMaxFile = static_cast<DWORD>(file.size());
        dialog.lpstrTitle = p_.title.empty() ? nullptr : p_.title.c_str();
        dialog.lpstrInitialDir = p_.initialDirectory.empty() ? nullptr : p_.initialDirectory.c_str();
        dialog.lpstrDefExt = p_.defaultExtension.empty() ? nullptr : p_.defaultExtension.c_str();
        dialog.Flags = flags;
        if (!(save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog))) return false;
        p_.fileName = file.data();
        return true;
    }

    bool FontDialog() {
        LOGFONTA font{};
        if (p_.fontBold) font.lfWeight = FW_BOLD;
        font.lfItalic = p_.fontItalic ? 1 : 0;
        font.lfUnderline = p_.fontUnderline ? 1 : 0;
        font.lfStrikeOut = p_.fontStrikeOut ? 1 : 0;
        if (!p_.fontName.empty()) lstrcpynA(font.lfFaceName, p_.fontName.c_str(), LF_FACESIZE);
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        if (p_.fontSize) font.lfHeight = -MulDiv(static_cast<int>(p_.fontSize), dpi, 72);

        CHOOSEFONTA dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.lpLogFont = &font;
        dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
        dialog.rgbColors = p_.fontColor;
        if (!ChooseFontA(&dialog)) return false;
        p_.fontColor = dialog.rgbColors;
        p_.fontBold = font.lfWeight >= FW_BOLD;
        p_.fontItalic = font.lfItalic != 0;
        p_.fontStrikeOut = font.lfStrikeOut != 0;
        p_.fontUnderline = font.lfUnderline != 0;
        p_.fontName = font.lfFaceName;
        p_.fontSize = static_cast<uint32_t>(MulDiv(std::abs(font.lfHeight), 72, dpi));
        return true;
    }

    bool Help() {
        auto* window = dynamic_cast<forms::FormWindow*>(forms::FindLoadedUnit(WindowId(), 0));
        if (!window || !window->Handle()) return false;
        HWND owner = window->Handle();
        if (p_.helpCommand == 4) {
            WinHelpA(owner, nullptr, HELP_HELPONHELP, 0);
            window->NoteHelpUsed();
            return true;
        }
        if (p_.helpCommand == 5) {
            WinHelpA(owner, nullptr, HELP_QUIT, 0);
            window->NoteHelpClosed();
            return true;
        }
        std::string file = p_.helpFile;
        if (file.empty()) {
            char module[MAX_PATH] = {};
            GetModuleFileNameA(nullptr, module, MAX_PATH);
            file = module;
            const size_t slash = file.rfind('\\'), dot = file.rfind('.');
            if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) file.resize(dot);
            file += ".hlp";
        }
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(file.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return false;
        FindClose(search);
        UINT command = HELP_FINDER;
        ULONG_PTR data = 0;
        if (p_.helpCommand == 1 && p_.helpContext) command = HELP_CONTEXT, data = p_.helpContext;
        if (p_.helpCommand == 2 && p_.helpContext) command = HELP_CONTEXTPOPUP, data = p_.helpContext;
        if (p_.helpCommand == 3) command = HELP_FORCEFILE;
        WinHelpA(owner, file.c_str(), command, data);
        window->NoteHelpUsed();
        return true;
    }

    CommonDlgProperties p_;
};

void OpenCommonDialogCommand(ValueRecord* result, int32_t count, ValueRecord* args) {
    result->type = kTypeBool;
    result->lo = 0;
    if (count < 1) return;
    auto* dialog = dynamic_cast<CommonDlg*>(forms::FindLoadedUnitOrFail(args[0].lo, args[0].hi));
    result->lo = dialog && dialog->Open() ? 1 : 0;
}

void* CommonDlgInterface(int32_t code) { return TypeInterfaceOf<CommonDlg>(code); }

}  // namespace ruvelto::components
