/* A companion program's installer, carried inside Ruvelto's program image and written next to it
   when the user asks for it. It asks once, then records the installation where Ruvelto looks
   for it (HKLM\SOFTWARE\<key>, value "Path" = the folder it was started from), so that the offer
   is not shown again. Exit code 0 when installed, 1 when the user declined or it failed. */
#include <windows.h>

#if defined(COMPANION_ARCHIVER)
#define PRODUCT_NAME L"VelmoraQuillar压缩王"
#define PRODUCT_KEY L"Quillar"
#elif defined(COMPANION_BROWSER)
#define PRODUCT_NAME L"Velmora浏览器"
#define PRODUCT_KEY L"Tessaline"
#else
#error define COMPANION_ARCHIVER or COMPANION_BROWSER
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR command, int show)
{
    (void)instance; (void)previous; (void)command; (void)show;
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
