#include "app/AircraftFolder.h"
#include "app/LoaderApp.h"
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
    const LoaderCommand command = ReadCommandLine({"Самолеты/Ил-18Д ✈"});
    EXPECT_EQ(command.kind, LoaderCommand::Kind::Run) << command.refusal;
    EXPECT_EQ(FromUtf8(command.folder), fs::absolute(folder));
}

TEST_F(AircraftFolderTest, FindsTheFileInAnyLetterCase) {
    EXPECT_TRUE(HoldsAircraftConfig(Utf8(m_aircraft)));
    EXPECT_FALSE(HoldsAircraftConfig(Utf8(m_scratch.path())));
    fs::create_directory(m_scratch.path() / "AIRCRAFT.cfg");
    EXPECT_FALSE(HoldsAircraftConfig(Utf8(m_scratch.path()))) << "a folder of that name is no file";
}

// As the program's entry does with `il18-loader FOLDER` and `il18-loader FILE`.
TEST_F(AircraftFolderTest, NamedFolderIsTheOneWritten) {
    for (const fs::path& named : {m_aircraft, m_aircraft / "aircraft.CFG"}) {
        fs::current_path(m_scratch.path());
        WriteFileBytes(m_aircraft / "aircraft.CFG", Example());
        const LoaderCommand command = ReadCommandLine({Utf8(named)});
        ASSERT_EQ(command.kind, LoaderCommand::Kind::Run) << command.refusal;
        ASSERT_EQ(FileOps::System().EnterFolder(command.folder.c_str()), 0);
        CLoaderApp app;
        RunAndLoad(app);
        EXPECT_EQ(m_seen, std::vector<SeenMessage>{kLoaded}) << named;
        EXPECT_TRUE(AircraftWritten()) << named;
        EXPECT_EQ(FromUtf8(LoadFolderSetting(kAircraftFolderSetting)), m_aircraft);
    }
}

// The chooser answers as the user would, and tells what it offered first.
class ChoosingApp : public CLoaderApp {
public:
    std::string answer;
    std::string offered;
    int asked = 0;

protected:
    std::string ChooseAircraftFolder(const std::string& start) override {
        ++asked;
        offered = start;
        return answer;
    }
};

TEST_F(AircraftFolderTest, ChosenFolderIsWrittenAndOfferedNextTime) {
    SaveFolderSetting(kAircraftFolderSetting, Utf8(m_scratch.path()));
    ChoosingApp app;
    app.m_bAskForFolder = true;
    app.answer = Utf8(m_aircraft);
    RunAndLoad(app);
    EXPECT_EQ(app.asked, 1);
    EXPECT_EQ(FromUtf8(app.offered), m_scratch.path());
    EXPECT_TRUE(AircraftWritten());
    EXPECT_EQ(FromUtf8(LoadFolderSetting(kAircraftFolderSetting)), m_aircraft);

    fs::current_path(m_scratch.path());
    ChoosingApp next;
    next.m_bAskForFolder = true;
    WhenModal([](PageDriver& driver) { driver.ClickSheetButton("Отмена"); });
    next.InitInstance();
    EXPECT_EQ(FromUtf8(next.offered), m_aircraft);
}

TEST_F(AircraftFolderTest, CancelledChooserLeavesTheCurrentFolder) {
    ChoosingApp app;
    app.m_bAskForFolder = true;
    RunAndLoad(app);
    EXPECT_EQ(app.asked, 1);
    EXPECT_EQ(fs::current_path(), m_scratch.path());
    EXPECT_FALSE(AircraftWritten());
    // Nothing written: "Unable to open the file.", and ОК asks before it drops the plan.
    ASSERT_EQ(m_seen.size(), 1u);
    EXPECT_EQ(m_seen[0].icon, MessageIcon::Stop);
    EXPECT_EQ(m_closing.size(), 1u);
}

TEST_F(AircraftFolderTest, NoQuestionWhereTheFileIs) {
    fs::current_path(m_aircraft);
    ChoosingApp app;
    app.m_bAskForFolder = true;
    RunAndLoad(app);
    EXPECT_EQ(app.asked, 0);
    EXPECT_TRUE(AircraftWritten());
}

} // namespace
