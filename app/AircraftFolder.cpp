#include "app/AircraftFolder.h"

#include "config/ConfigFile.h"
#include "config/FileOps.h"

#include <cerrno>
#include <utility>

namespace {

// The last part of a path, after its last separator.
std::string_view LastPart(std::string_view path) {
    const auto separator = path.find_last_of("/\\");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
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
        switch (FileOps::System().KindOfPath(argument.c_str())) {
        case PathKind::Missing:
            return Refuse("нет такой папки: " + argument);
        case PathKind::File:
            if (!IsConfigFileName(LastPart(argument)))
                return Refuse("это не папка и не файл Aircraft.cfg: " + argument);
            command.folder = FileOps::System().FullPath(argument + "/..");
            break;
        case PathKind::Folder:
            command.folder = FileOps::System().FullPath(argument);
            break;
        }
        if (std::string missing = NoConfigFileIn(command.folder); !missing.empty())
            return Refuse(std::move(missing));
    }
    return command;
}

bool HoldsAircraftConfig(std::string_view folder) {
    return FindConfigFile(FileOps::System(), folder).found();
}

std::string NoConfigFileIn(std::string_view folder) {
    const ConfigFileSearch search = FindConfigFile(FileOps::System(), folder);
    if (search.found())
        return {};
    std::string text =
        "В папке «" + FileOps::System().FullPath(folder) + "» нет файла Aircraft.cfg.";
    if (search.refusal != ReasonOf(ENOENT))
        text += "\nПричина: " + search.refusal + ".";
    return text;
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
