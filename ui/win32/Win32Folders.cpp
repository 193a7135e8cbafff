// The folders, the folder chooser, the settings and the question on the Win32 API.

#include "ui/Folders.h"
#include "ui/Question.h"
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

// The full path of `path` (GetFullPathNameW cleans "." and ".."), and where its last part
// starts.
std::wstring FullPath(std::string_view path, std::size_t* lastPart = nullptr) {
    std::wstring wide = Widen(path);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        wchar_t* part = nullptr;
        const DWORD length =
            GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), &part);
        if (length == 0)
            return wide;
        if (length < full.size()) {
            full.resize(length);
            if (lastPart != nullptr)
                *lastPart =
                    part != nullptr ? static_cast<std::size_t>(part - full.data()) : full.size();
            return full;
        }
        full.resize(length);
    }
}

// Without the separator at its end, unless it is a root ("C:\").
std::wstring WithoutEndSeparator(std::wstring path) {
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return path;
}

} // namespace

PathKind KindOfPath(std::string_view path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Folder : PathKind::File;
}

std::string AbsolutePath(std::string_view path) {
    return Narrow(WithoutEndSeparator(FullPath(path)));
}

std::string ParentFolder(std::string_view path) {
    std::size_t lastPart = 0;
    const std::wstring full = FullPath(path, &lastPart);
    return Narrow(WithoutEndSeparator(full.substr(0, lastPart)));
}

std::string CurrentFolder() {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return Narrow(folder);
}

bool EnterFolder(std::string_view folder) {
    return SetCurrentDirectoryW(Widen(folder).c_str()) != FALSE;
}

std::vector<std::string> FileNamesIn(std::string_view folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((Widen(folder) + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back(Narrow(entry.cFileName));
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

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
