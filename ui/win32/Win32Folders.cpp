// The folder chooser, the settings, the question and the messages of the start on the Win32 API.

#include "ui/Backend.h"
#include "ui/Folders.h"
#include "ui/Question.h"
#include "ui/StartMessage.h"
#include "ui/win32/Win32Window.h"

#include <shlobj.h>

#include <string>

namespace {

constexpr const wchar_t* kSettingsKey = L"Software\\il18-loader";

// Opens the chooser on the start folder.
int CALLBACK ChooserCallback(HWND chooser, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED && start != 0)
        SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, start);
    return 0;
}

} // namespace

std::string ChooseFolder(std::string_view title, std::string_view start) {
    const std::wstring caption = Widen(title);
    const std::wstring first = Widen(start);
    BROWSEINFOW browse{};
    browse.hwndOwner = GetActiveWindow();
    browse.lpszTitle = caption.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    browse.lpfn = ChooserCallback;
    browse.lParam = first.empty() ? 0 : reinterpret_cast<LPARAM>(first.c_str());
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::string chosen;
    if (PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&browse)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(item, path))
            chosen = Narrow(path);
        CoTaskMemFree(item);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return chosen;
}

std::string LoadFolderSetting(std::string_view key) {
    const std::wstring name = Widen(key);
    wchar_t value[32768] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return {};
    return Narrow(value);
}

void SaveFolderSetting(std::string_view key, std::string_view folder) {
    const std::wstring name = Widen(key);
    HKEY settings = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &settings, nullptr) != ERROR_SUCCESS)
        return;
    if (folder.empty()) {
        RegDeleteValueW(settings, name.c_str());
    } else {
        const std::wstring value = Widen(folder);
        RegSetValueExW(settings, name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(settings);
}

namespace {

// Names the question's buttons in the pages' language, whatever the system's, as it appears.
HHOOK g_questionHook = nullptr;

LRESULT CALLBACK QuestionHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        auto box = reinterpret_cast<HWND>(wParam);
        if (GetDlgItem(box, IDYES) != nullptr && GetDlgItem(box, IDNO) != nullptr) {
            SetDlgItemTextW(box, IDYES, L"Да");
            SetDlgItemTextW(box, IDNO, L"Нет");
        }
    }
    return CallNextHookEx(g_questionHook, code, wParam, lParam);
}

} // namespace

bool AskYesNo(NativeWindow* owner, std::string_view text, std::string_view caption) {
    HWND parent = owner != nullptr ? GetAncestor(ToHwnd(owner), GA_ROOT) : GetActiveWindow();
    g_questionHook = SetWindowsHookExW(WH_CBT, QuestionHook, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxW(parent, Widen(text).c_str(), Widen(caption).c_str(),
                                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (g_questionHook != nullptr)
        UnhookWindowsHookEx(g_questionHook);
    g_questionHook = nullptr;
    return answer == IDYES;
}

ConsoleView ProgramConsole() {
    return {false, false};
}

bool ShowStartMessage(std::string_view text, std::string_view caption, MessageIcon icon) {
    ShowModalMessage(nullptr, text, caption, icon);
    return true;
}

std::optional<std::string> UnreachableDisplay() {
    return std::nullopt;
}
