#include "config/ConfigFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

bool SameNameInAnyCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

ConfigFileSearch FindConfigFile(FileOps& ops, std::string_view folder) {
    ConfigFileSearch search;
    const std::string path = folder.empty() ? "." : std::string(folder);
    std::vector<std::string> names;
    if (ops.ListDirectory(path.c_str(), names) != 0) {
        search.refusal = ReasonOf(errno);
        return search;
    }
    std::vector<std::string> alike;
    std::copy_if(names.begin(), names.end(), std::back_inserter(alike),
                 [](const std::string& name) { return IsConfigFileName(name); });
    if (alike.empty()) {
        search.refusal = ReasonOf(ENOENT);
        return search;
    }
    if (alike.size() > 1 && std::find(alike.begin(), alike.end(), kConfigFileName) == alike.end()) {
        search.refusal = "в папке несколько файлов с этим именем в разном регистре";
        return search;
    }
    const std::string name = alike.size() == 1 ? alike.front() : std::string(kConfigFileName);
    switch (ops.KindOfPath((path + "/" + name).c_str())) {
    case PathKind::Missing:
        search.refusal = ReasonOf(ENOENT);
        return search;
    case PathKind::Folder:
        search.refusal = ReasonOf(EISDIR);
        return search;
    case PathKind::File:
        search.name = name;
        return search;
    }
    return search;
}

std::string ReasonOf(int error) {
    switch (error) {
    case ENOSPC:
        return "на диске нет места";
#ifdef EDQUOT
    case EDQUOT:
        return "превышена дисковая квота";
#endif
    case EFBIG:
        return "файл превысил допустимый размер";
    case EACCES:
    case EPERM:
        return "нет доступа";
    case EROFS:
        return "диск доступен только для чтения";
    case EISDIR:
        return "это каталог, а не файл";
    case ENOENT:
        return "файл не найден";
    case EIO:
        return "ошибка ввода-вывода";
    case EEXIST:
        return "файл с таким именем создан другой программой";
    case EBUSY:
        return "файл занят";
    default:
        return std::string("системная ошибка ") + std::to_string(error) + " (" +
               std::strerror(error) + ")";
    }
}
