#include "app/AircraftFolder.h"
#include "app/LoaderApp.h"
#include "config/ConfigRewriter.h"
#include "config/FileOps.h"
#include "gui/GuiTest.h"
#include "res/resource.h"
#include "support/TestSupport.h"
#include "ui/Folders.h"

namespace {

namespace fs = std::filesystem;

const SeenMessage kLoaded{"Сообщение", "Пассажиры и груз на борту", MessageIcon::Information};

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path FromUtf8(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string Example() {
    return ReadFileBytes(fs::path(LOADER_EXAMPLES_DIR) / "Aircraft.cfg");
}

// A scratch folder as the current one, holding the aircraft's folder "Il-18D" with an
// Aircraft.cfg (named as `name` spells it), and the folder setting as it was before.
class AircraftFolderTest : public GuiTest {
protected:
    void SetUp() override {
        m_kept = LoadFolderSetting(kAircraftFolderSetting);
        fs::create_directory(m_aircraft);
        WriteFileBytes(m_aircraft / "aircraft.CFG", Example());
    }
    void TearDown() override {
        fs::current_path(m_scratch.path());
        SaveFolderSetting(kAircraftFolderSetting, m_kept);
        GuiTest::TearDown();
    }

    // Runs the application as the program's entry does; "Загрузить" with 13 passengers in
    // cabin 2, then ОК.
    void RunAndLoad(CLoaderApp& app) {
        AnswerQuestionsWith(true);
        WhenModal([this](PageDriver& driver) {
            driver.TypeInto(IDC_CABIN2, "13");
            driver.Click(IDC_LOAD_PAYLOAD);
            m_seen = driver.TakeMessages();
            driver.ClickSheetButton("ОК");
        });
        EXPECT_FALSE(app.InitInstance());
        m_closing = TakeMessages();
    }
    bool AircraftWritten() { return ReadFileBytes(m_aircraft / "aircraft.CFG") != Example(); }

    ScratchDirectory m_scratch;
    const fs::path m_aircraft = fs::absolute(m_scratch.path() / "Il-18D");
    std::string m_kept;
    std::vector<SeenMessage> m_seen;    // after "Загрузить"
    std::vector<SeenMessage> m_closing; // after ОК
};

struct Arguments {
    const char* name;
    std::vector<std::string> arguments; // "@" stands for the aircraft's folder
    LoaderCommand::Kind kind;
    bool aircraftFolder; // the command names the aircraft's folder
};

void PrintTo(const Arguments& c, std::ostream* out) {
    *out << c.name;
}

class CommandLineTest : public AircraftFolderTest,
                        public ::testing::WithParamInterface<Arguments> {};

TEST_P(CommandLineTest, NamesTheAircraftsFolderOrRefuses) {
    std::vector<std::string> arguments;
    for (std::string argument : GetParam().arguments) {
        if (argument.rfind('@', 0) == 0)
            argument = Utf8(m_aircraft) + argument.substr(1);
        arguments.push_back(argument);
    }
    const LoaderCommand command = ReadCommandLine(arguments);
    EXPECT_EQ(command.kind, GetParam().kind);
    EXPECT_EQ(command.refusal.empty(), GetParam().kind != LoaderCommand::Kind::Refused);
    if (GetParam().aircraftFolder)
        EXPECT_EQ(FromUtf8(command.folder), m_aircraft);
    else
        EXPECT_TRUE(command.folder.empty()) << command.folder;
}

using Kind = LoaderCommand::Kind;
INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineTest,
    ::testing::Values(Arguments{"None", {}, Kind::Run, false},
                      Arguments{"Folder", {"@"}, Kind::Run, true},
                      Arguments{"FolderWithSlash", {"@/"}, Kind::Run, true},
                      Arguments{"FileInAnyCase", {"@/aircraft.CFG"}, Kind::Run, true},
                      Arguments{"RelativeFolder", {"Il-18D"}, Kind::Run, true},
                      Arguments{"Help", {"--help"}, Kind::Help, false},
                      Arguments{"HelpAfterFolder", {"@", "-h"}, Kind::Help, true},
                      Arguments{"Version", {"--version"}, Kind::Version, false},
                      Arguments{"NoSuchFolder", {"@/nowhere"}, Kind::Refused, false},
                      Arguments{"OtherFile", {"@/panel.cfg"}, Kind::Refused, false},
                      Arguments{"UnknownOption", {"--fuel"}, Kind::Refused, false},
                      Arguments{"TwoFolders", {"@", "@"}, Kind::Refused, false}),
    NameOfCase());

// Names outside the system's code page arrive whole (UTF-8 from the wide command line on Windows).
TEST_F(AircraftFolderTest, CyrillicFolderIsFound) {
    const fs::path folder = m_scratch.path() / fs::path(u8"Самолеты") / fs::path(u8"Ил-18Д ✈");
    fs::create_directories(folder);
    WriteFileBytes(folder / "Aircraft.cfg", Example());
    const LoaderCommand command = ReadCommandLine({"Самолеты/Ил-18Д ✈"});
    EXPECT_EQ(command.kind, LoaderCommand::Kind::Run) << command.refusal;
    EXPECT_EQ(FromUtf8(command.folder), fs::absolute(folder));
}

// What a folder holds: "NAME/" a folder, "NAME@" a link to ../Aircraft.cfg, else a file.
struct FolderContents {
    const char* name;
    std::vector<std::string> entries;
    bool taken;
};

void PrintTo(const FolderContents& c, std::ostream* out) {
    *out << c.name;
}

const FolderContents kFolderContents[] = {
    {"Exact", {"Aircraft.cfg"}, true},
    {"OtherCase", {"aircraft.CFG"}, true},
    {"None", {"panel.cfg"}, false},
    {"FolderOfThatName", {"AIRCRAFT.CFG/"}, false},
#ifndef _WIN32 // Windows finds one file whatever the case, and follows no link there.
    {"TwoCases", {"aircraft.cfg", "AIRCRAFT.CFG"}, false},
    {"ExactBesideOtherCase", {"AIRCRAFT.CFG", "Aircraft.cfg"}, true},
    {"Link", {"aircraft.cfg@"}, true},
    {"LinkBesideFolder", {"aircraft.cfg@", "AIRCRAFT.CFG/"}, false},
#endif
};

class FolderContentsTest : public AircraftFolderTest,
                           public ::testing::WithParamInterface<FolderContents> {};

// The start (the folder, or its first entry, named) takes a folder exactly when the rewrite
// writes its file.
TEST_P(FolderContentsTest, StartTakesWhatTheRewriteWrites) {
    const fs::path folder = m_scratch.path() / "contents";
    fs::create_directory(folder);
    WriteFileBytes(m_scratch.path() / "Aircraft.cfg", Example());
    std::vector<fs::path> paths;
    for (std::string entry : GetParam().entries) {
        const char kind = entry.back();
        paths.push_back(folder / entry.substr(0, entry.size() - (kind == '/' || kind == '@')));
        if (kind == '/')
            fs::create_directory(paths.back());
        else if (kind == '@')
            fs::create_symlink("../Aircraft.cfg", paths.back());
        else
            WriteFileBytes(paths.back(), Example());
    }
    const bool taken = GetParam().taken;
    EXPECT_EQ(HoldsAircraftConfig(Utf8(folder)), taken);
    for (const fs::path& named : {folder, paths.front()})
        EXPECT_EQ(ReadCommandLine({Utf8(named)}).kind == LoaderCommand::Kind::Run, taken) << named;

    fs::current_path(folder);
    RecordingCallback owner;
    EXPECT_EQ(
        ConfigRewriter().RewriteConfigFile({{"station_load.0", "station_load.0=1\n"}}, "", owner),
        taken);
}

INSTANTIATE_TEST_SUITE_P(Folders, FolderContentsTest, ::testing::ValuesIn(kFolderContents),
                         NameOfCase());

// As the program's entry does with `il18-loader FOLDER` and `il18-loader FILE`.
TEST_F(AircraftFolderTest, NamedFolderIsTheOneWritten) {
    for (const fs::path& named : {m_aircraft, m_aircraft / "aircraft.CFG"}) {
        fs::current_path(m_scratch.path());
        WriteFileBytes(m_aircraft / "aircraft.CFG", Example());
        CLoaderApp app;
        app.m_bAskForFolder = true;
        ASSERT_EQ(StartFromCommandLine({Utf8(named)}, ConsoleView{false, false}, app),
                  std::nullopt);
        EXPECT_FALSE(app.m_bAskForFolder);
        RunAndLoad(app);
        EXPECT_EQ(m_seen, std::vector<SeenMessage>{kLoaded}) << named;
        EXPECT_TRUE(AircraftWritten()) << named;
        EXPECT_EQ(FromUtf8(LoadFolderSetting(kAircraftFolderSetting)), m_aircraft);
    }
}

// The chooser answers as the user would, in turn (then cancelled), and tells what it offered
// first each time.
class ChoosingApp : public CLoaderApp {
public:
    std::vector<std::string> answers;
    std::vector<fs::path> offered;

protected:
    std::string ChooseAircraftFolder(const std::string& start) override {
        offered.push_back(FromUtf8(start));
        return offered.size() <= answers.size() ? answers[offered.size() - 1] : "";
    }
};

TEST_F(AircraftFolderTest, ChosenFolderIsWrittenAndOfferedNextTime) {
    SaveFolderSetting(kAircraftFolderSetting, Utf8(m_scratch.path()));
    ChoosingApp app;
    app.m_bAskForFolder = true;
    app.answers = {Utf8(m_aircraft)};
    RunAndLoad(app);
    EXPECT_EQ(app.offered, std::vector<fs::path>{m_scratch.path()});
    EXPECT_TRUE(AircraftWritten());
    EXPECT_EQ(FromUtf8(LoadFolderSetting(kAircraftFolderSetting)), m_aircraft);

    fs::current_path(m_scratch.path());
    ChoosingApp next;
    next.m_bAskForFolder = true;
    WhenModal([](PageDriver& driver) { driver.ClickSheetButton("Отмена"); });
    next.InitInstance();
    EXPECT_EQ(next.offered, std::vector<fs::path>{m_aircraft});
}

// A folder without the file is answered, and the chooser comes again at it; cancelled then, the
// sheet works on the current folder and nothing is kept.
TEST_F(AircraftFolderTest, CancelledChooserLeavesTheCurrentFolder) {
    const fs::path empty = m_scratch.path() / "empty";
    fs::create_directory(empty);
    SaveFolderSetting(kAircraftFolderSetting, "");
    ChoosingApp app;
    app.m_bAskForFolder = true;
    app.answers = {Utf8(empty)};
    RunAndLoad(app);
    EXPECT_EQ(app.offered, (std::vector<fs::path>{m_scratch.path(), empty}));
    EXPECT_EQ(fs::current_path(), m_scratch.path());
    EXPECT_FALSE(AircraftWritten());
    // Nothing written: "Unable to open the file.", and ОК asks before it drops the plan.
    ASSERT_EQ(m_seen.size(), 2u);
    EXPECT_EQ(m_seen[0],
              (SeenMessage{"Ошибка", "В папке «" + Utf8(empty) + "» нет файла Aircraft.cfg.",
                           MessageIcon::Stop}));
    EXPECT_EQ(m_seen[1].icon, MessageIcon::Stop);
    EXPECT_EQ(m_closing.size(), 1u);
    EXPECT_EQ(LoadFolderSetting(kAircraftFolderSetting), "") << "the empty folder is not kept";
}

// A folder whose file cannot be used is answered with why, and the chooser comes again at it.
TEST_F(AircraftFolderTest, ChooserAsksAgainUntilTheFolderHoldsTheFile) {
    const fs::path odd = m_scratch.path() / "odd";
    fs::create_directories(odd / "Aircraft.cfg");
    ChoosingApp app;
    app.m_bAskForFolder = true;
    app.answers = {Utf8(odd), Utf8(m_aircraft)};
    RunAndLoad(app);
    EXPECT_EQ(app.offered.back(), odd);
    const SeenMessage folderOfThatName{
        "Ошибка",
        "В папке «" + Utf8(odd) + "» нет файла Aircraft.cfg.\nПричина: это каталог, а не файл.",
        MessageIcon::Stop};
    EXPECT_EQ(m_seen, (std::vector<SeenMessage>{folderOfThatName, kLoaded}));
    EXPECT_EQ(FromUtf8(LoadFolderSetting(kAircraftFolderSetting)), m_aircraft);
}

// The entry's refusal is shown in a box where standard error is not seen (from the menu, a drop,
// the windowed program on Windows), and so is --help where standard output is not.
TEST_F(AircraftFolderTest, StartShowsWhatPrintWouldNotShow) {
    const std::string nowhere = Utf8(m_scratch.path() / "nowhere");
    const SeenMessage refused{
        "Ошибка", "il18-loader: нет такой папки: " + nowhere + "\nСправка: il18-loader --help",
        MessageIcon::Stop};
    CLoaderApp app;
    EXPECT_EQ(StartFromCommandLine({nowhere}, ConsoleView{true, true}, app), 2);
    EXPECT_EQ(TakeMessages(), std::vector<SeenMessage>{});
    EXPECT_EQ(StartFromCommandLine({nowhere}, ConsoleView{true, false}, app), 2);
    EXPECT_EQ(TakeMessages(), std::vector<SeenMessage>{refused});

    EXPECT_EQ(StartFromCommandLine({"--help"}, ConsoleView{false, false}, app), 0);
    const std::vector<SeenMessage> help = TakeMessages();
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].caption, "Загрузчик самолета Ил-18Д");
    EXPECT_EQ(help[0].icon, MessageIcon::Information);
    EXPECT_EQ(help[0].text.find("Использование: il18-loader [ПАПКА | ФАЙЛ]\n"), 0u);
    EXPECT_NE(help[0].text.find("\nПАПКА — папка самолета:"), std::string::npos) << help[0].text;
}

TEST_F(AircraftFolderTest, NoQuestionWhereTheFileIs) {
    fs::current_path(m_aircraft);
    ChoosingApp app;
    app.m_bAskForFolder = true;
    RunAndLoad(app);
    EXPECT_TRUE(app.offered.empty());
    EXPECT_TRUE(AircraftWritten());
}

} // namespace
