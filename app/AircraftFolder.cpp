#include "app/AircraftFolder.h"

#include <algorithm>
#include <system_error>

namespace {

// Aircraft.cfg in any letter case, as the simulator's own system finds it.
bool IsConfigName(const std::filesystem::path& path) {
    constexpr std::string_view kName = "aircraft.cfg";
    const std::u8string name = path.filename().u8string();
    return std::equal(name.begin(), name.end(), kName.begin(), kName.end(), [](char8_t a, char b) {
        return (a >= u8'A' && a <= u8'Z' ? a - u8'A' + u8'a' : a) == b;
    });
}

LoaderCommand Refuse(std::string why) {
    LoaderCommand command;
    command.kind = LoaderCommand::Kind::Refused;
    command.refusal = std::move(why);
    return command;
}

} // namespace

LoaderCommand ReadCommandLine(const std::vector<std::string>& arguments) {
    LoaderCommand command;
    bool named = false;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            command.kind = LoaderCommand::Kind::Help;
            return command;
        }
        if (argument == "--version") {
            command.kind = LoaderCommand::Kind::Version;
            return command;
        }
        if (argument.size() > 1 && argument[0] == '-')
            return Refuse("неизвестный параметр " + argument);
        if (named)
            return Refuse("укажите одну папку самолета, а не несколько");
        named = true;
        const std::filesystem::path path(std::u8string(argument.begin(), argument.end()));
        std::error_code error;
        const std::filesystem::file_status status = std::filesystem::status(path, error);
        if (!std::filesystem::exists(status))
            return Refuse("нет такой папки: " + argument);
        std::filesystem::path folder = path;
        if (!std::filesystem::is_directory(status)) {
            if (!IsConfigName(path))
                return Refuse("это не папка и не файл Aircraft.cfg: " + argument);
            folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
        }
        command.folder = std::filesystem::absolute(folder, error).lexically_normal();
        if (error)
            return Refuse("папка недоступна: " + argument);
        if (!command.folder.has_filename()) // "Il-18D/"
            command.folder = command.folder.parent_path();
    }
    return command;
}

bool HoldsAircraftConfig(const std::filesystem::path& folder) {
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (IsConfigName(entry->path()) && !entry->is_directory(error))
            return true;
    }
    return false;
}

std::string_view LoaderUsage() {
    return "Использование: il18-loader [ПАПКА | ФАЙЛ]\n"
           "Загрузчик самолета Ил-18Д: топливо, пассажиры и груз в файле Aircraft.cfg.\n"
           "\n"
           "  ПАПКА      папка самолета: загрузчик записывает ее файл Aircraft.cfg\n"
           "  ФАЙЛ       путь к файлу Aircraft.cfg: то же, что его папка\n"
           "  без пути   текущая папка; если в ней нет Aircraft.cfg, загрузчик спросит папку\n"
           "  --help     эта справка\n"
           "  --version  версия\n"
           "\n"
           "Код выхода: 0 после закрытия окна, 2 при неверной командной строке.\n";
}

std::string LoaderVersion() {
    return std::string("il18-loader ") + LOADER_VERSION + "\n";
}
