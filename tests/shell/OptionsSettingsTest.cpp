// The [options] section as the options dialog reads it on opening and writes
// it on OK, with the hot keys switched where the stored choice changes.
#include "AppError.h"
#include "IniFile.h"
#include "OptionsSettings.h"
#include "OptionsSettingsPrint.h"
#include "OutsideWords.h"
#include "TestSupport.h"

#include <utility>
#include <vector>

using namespace vocab;
using namespace vocab::test;

namespace {

class OptionsFile : public ::testing::Test {
protected:
    QTemporaryDir work;
    QString file() const { return work.filePath("options.ini"); }
    void write(const QByteArray &text) { writeBytes(file(), text); }
    TIniFile ini{work.filePath("options.ini")};

    // The hot-key switches asked for, in order.
    std::vector<std::pair<int, bool>> switched;
    HotKeySwitch recordSwitch()
    {
        return [this](int id, bool on) { switched.emplace_back(id, on); };
    }
};

OptionsSettings settings(bool noSave, bool minimized, bool close, bool cc, bool z, bool russian, int erase, int browser)
{
    return {noSave, minimized, close, cc, z, russian, erase, browser};
}

} // namespace

TEST_F(OptionsFile, OpeningShowsEachKeyOrItsDefault)
{
    struct Case { QByteArray options; OptionsSettings shown; };
    const std::vector<Case> cases{
        {"", OptionsSettings{}},
        {"NoSaveWindow=1\r\nOnMinimizedWindow=1\r\nOnCloseApplication=1\r\nCtrlCC=1\r\nCtrlShiftZ=1\r\nOnRussian=1\r\nEraseStr=0\r\nBrowserLoad=1",
         settings(true, true, true, true, true, true, 0, 1)},
        // Any non-zero number is true.
        {"CtrlShiftZ=2\r\nOnRussian=-1\r\nEraseStr=1", settings(false, false, false, false, true, true, 1, 0)},
        // Past the last item: the last item; below the first: none.
        {"EraseStr=7\r\nBrowserLoad=2", settings(false, false, false, false, false, false, 2, 1)},
        {"EraseStr=-3\r\nBrowserLoad=-1", settings(false, false, false, false, false, false, -1, -1)},
        // Damaged values count as missing.
        {"NoSaveWindow=yes\r\nCtrlCC=\r\nEraseStr=abc\r\nBrowserLoad=1x", OptionsSettings{}},
        // Names without regard to letter case.
        {"noSAVEwindow=1\r\nerasestr=0", settings(true, false, false, false, false, false, 0, 0)},
    };
    for (const Case &c : cases) {
        write("[size]\r\nEraseStr=1\r\nCtrlCC=1\r\n[OPTIONS]\r\n" + c.options + "\r\n");
        EXPECT_EQ(ReadOptionsForDialog(ini), c.shown) << c.options.toStdString();
    }
}

TEST_F(OptionsFile, OkWritesEveryKeyInItsOrderAndKeepsTheRest)
{
    write("; kept\r\n[size]\r\nTop=5\r\n\r\n[options]\r\nEraseStr=2\r\nOwn=x\r\n\r\n[List]\r\nincomplete=1\r\n");
    WriteOptionsFromDialog(ini, settings(true, false, true, true, false, true, 0, 1), recordSwitch());
    EXPECT_EQ(readBytes(file()),
              "; kept\r\n[size]\r\nTop=5\r\n\r\n[options]\r\nEraseStr=0\r\nOwn=x\r\n"
              "NoSaveWindow=1\r\nOnCloseApplication=1\r\nOnMinimizedWindow=0\r\nCtrlCC=1\r\nCtrlShiftZ=0\r\nOnRussian=1\r\nBrowserLoad=1\r\n"
              "\r\n[List]\r\nincomplete=1\r\n");
}

TEST_F(OptionsFile, HotKeysSwitchOnlyWhereTheStoredChoiceChanges)
{
    struct Case { bool stored, chosen; bool switches; };
    const std::vector<Case> cases{{false, false, false}, {false, true, true}, {true, false, true}, {true, true, false}};
    for (const Case &cc : cases) {
        for (const Case &z : cases) {
            write(QByteArray("[options]\r\nCtrlCC=") + (cc.stored ? "1" : "0") + "\r\nCtrlShiftZ=" + (z.stored ? "1" : "0") + "\r\n");
            switched.clear();
            OptionsSettings chosen;
            chosen.CtrlCC = cc.chosen;
            chosen.CtrlShiftZ = z.chosen;
            WriteOptionsFromDialog(ini, chosen, recordSwitch());
            std::vector<std::pair<int, bool>> expected;
            if (cc.switches)
                expected.emplace_back(HotKeyCtrlCC, cc.chosen);
            if (z.switches)
                expected.emplace_back(HotKeyCtrlShiftZ, z.chosen);
            EXPECT_EQ(switched, expected) << cc.stored << cc.chosen << z.stored << z.chosen;
            EXPECT_EQ(ini.ReadBool("options", "CtrlCC", !cc.chosen), cc.chosen);
            EXPECT_EQ(ini.ReadBool("options", "CtrlShiftZ", !z.chosen), z.chosen);
        }
    }
}

TEST_F(OptionsFile, OkWithoutChangesRewritesWhatWasShown)
{
    // What the dialog showed is what OK writes: the choices as they stood,
    // a hand-written news page as the empty page, a negative item as -1.
    struct Case { QByteArray stored; QByteArray written; };
    const std::vector<Case> cases{
        {"CtrlCC=1\r\nEraseStr=1\r\nBrowserLoad=0",
         "CtrlCC=1\r\nEraseStr=1\r\nBrowserLoad=0\r\nNoSaveWindow=0\r\nOnCloseApplication=0\r\nOnMinimizedWindow=0\r\nCtrlShiftZ=0\r\nOnRussian=0"},
        {"BrowserLoad=2", "BrowserLoad=1\r\nNoSaveWindow=0\r\nOnCloseApplication=0\r\nOnMinimizedWindow=0\r\nCtrlCC=0\r\nCtrlShiftZ=0\r\nOnRussian=0\r\nEraseStr=2"},
        {"EraseStr=-5\r\nBrowserLoad=-2",
         "EraseStr=-1\r\nBrowserLoad=-1\r\nNoSaveWindow=0\r\nOnCloseApplication=0\r\nOnMinimizedWindow=0\r\nCtrlCC=0\r\nCtrlShiftZ=0\r\nOnRussian=0"},
        {"CtrlShiftZ=7\r\nEraseStr=junk",
         "CtrlShiftZ=1\r\nEraseStr=2\r\nNoSaveWindow=0\r\nOnCloseApplication=0\r\nOnMinimizedWindow=0\r\nCtrlCC=0\r\nOnRussian=0\r\nBrowserLoad=0"},
    };
    for (const Case &c : cases) {
        write("[options]\r\n" + c.stored + "\r\n");
        switched.clear();
        WriteOptionsFromDialog(ini, ReadOptionsForDialog(ini), recordSwitch());
        EXPECT_EQ(readBytes(file()), "[options]\r\n" + c.written + "\r\n") << c.stored.toStdString();
        EXPECT_TRUE(switched.empty()) << c.stored.toStdString();
    }
}

TEST_F(OptionsFile, AFileThatCannotBeWrittenIsAnError)
{
    QDir(work.path()).mkdir("options.ini"); // a folder in the file's place
    EXPECT_THROW(WriteOptionsFromDialog(ini, OptionsSettings{}, recordSwitch()), FileError);
}
