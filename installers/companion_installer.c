/* A companion program's installer, carried inside Ruvelto's program image and written next to it
   when the user asks for it. It asks once, then records the installation where Ruvelto looks
   for it (HKLM\SOFTWARE\<key>, value "Path" = the folder it was started from), so that the offer
   is not shown again. Exit code 0 when installed, 1 when the user declined or it failed.
   When the environment names a log file (RUVELTO_COMPANION_LOG), the installer appends a line when
   it starts and one when it ends, so that the order in which installers ran can be seen. */
#include <windows.h>

#if defined(COMPANION_ARCHIVER)
#define PRODUCT_NAME L"VelmoraQuillar压缩王"
#define PRODUCT_KEY L"Quillar"
#define LOG_NAME "archiver"
#elif defined(COMPANION_BROWSER)
#define PRODUCT_NAME L"Velmora浏览器"
#define PRODUCT_KEY L"Tessaline"
#define LOG_NAME "browser"
#else
#error define COMPANION_ARCHIVER or COMPANION_BROWSER
#endif

static void LogLine(const char *line)
{
    WCHAR path[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"RUVELTO_COMPANION_LOG", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
    WriteFile(file, "\n", 1, &written, NULL);
    CloseHandle(file);
}

static int Install(void);

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR command, int show)
{
    (void)instance; (void)previous; (void)command; (void)show;
    LogLine(LOG_NAME " started");
    int result = Install();
    LogLine(LOG_NAME " ended");
    return result;
}

static int Install(void)
{
    WCHAR text[256];
    wsprintfW(text, L"即将安装 %s。\n\n点击“确定”开始安装。", PRODUCT_NAME);
    if (MessageBoxW(NULL, text, PRODUCT_NAME L" 安装程序", MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
        return 1;

    WCHAR folder[MAX_PATH];
    DWORD n = GetModuleFileNameW(NULL, folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    WCHAR *slash = folder + n;
    while (slash > folder && *slash != L'\\') --slash;
    *slash = 0;

    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\" PRODUCT_KEY, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return 1;
    LONG r = RegSetValueExW(key, L"Path", 0, REG_SZ, (const BYTE *)folder, (DWORD)((lstrlenW(folder) + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) return 1;

    wsprintfW(text, L"%s 已安装完成。", PRODUCT_NAME);
    MessageBoxW(NULL, text, PRODUCT_NAME L" 安装程序", MB_OK | MB_ICONINFORMATION);
    return 0;
}
