#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "app/win32/program.h"
#include "gui/gui_support.h"
#include "platform/win32/wide_text.h"
#include "ui/control_id.h"

namespace {

// A main settings file as the program writes it, with values that differ
// from the built-in defaults.
const char kGivenFile[] =
    "upstat = 0\r\na1 = 1\r\na2 = 1\r\na3 = 0\r\na4 = 1\r\na5 = 1\r\na6 = 0\r\ncab = 1\r\n"
    "mxref = 1\r\ntre = 2\r\nfil = 1\r\nbref = 1\r\nba = 1\r\nbwb = 0\r\nmode = 5\r\ndm = 1\r\n"
    "m = 6\r\nms = 2\r\naud = 1\r\nae = 4\r\napin = 1\r\nmuxer = 2\r\ndeb-a = 4\r\ndeb-b = 8\r\n"
    "fastpsk = 0\r\ndctd = 1\r\ncrelog = 1\r\nsizemode = 0\r\naq = 1\r\ndirectpm = 2\r\n"
    "psnr = 1\r\nssim = 0\r\nlevel = 9\r\nbfoptimal = 1\r\n"
    "cqm = jvt\r\naub = 96\r\nfa = -2\r\nmb = 3\r\nbias = -20\r\nfb = 2\r\nvalue = 1500\r\n"
    "range = 24\r\nref = 4\r\narx = 16\r\nary = 11\r\nthr = 2\r\nnr = 100\r\nkfb = 50\r\n"
    "bfr = 20\r\nvbr = 70\r\nminqp = 12\r\nmaxqp = 48\r\nqps = 3\r\nvbs = 2000\r\nvmb = 4000\r\n"
    "vib = 0.8\r\nbv = 50\r\nsct = 45\r\nmingop = 24\r\nmaxgop = 300\r\nauto1pcrf = 18\r\n"
    "avsinc = \r\nmaxsize = 120\r\nminsize = 80\r\ndzinter = 20\r\ndzintra = 10\r\naq1 = 1.2\r\n"
    "chromaqpoffset = 1\r\npsyrd_rdo = 0.8\r\npsyrd_tre = 0.1\r\n";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ini = TestProgramFolder() + L"quorvel.ini";
    WriteBytes(ini, kGivenFile);
    program = std::make_unique<Program>(GetModuleHandleW(nullptr));
  }
  void TearDown() override {
    program.reset();
    PumpMessages();
    DeleteFileW(ini.c_str());
  }
  HWND control(ControlId id) { return program->window().control(id); }
  int close() {
    PostMessageW(program->window().handle(), WM_CLOSE, 0, 0);
    return program->run();
  }

  std::wstring ini;
  std::unique_ptr<Program> program;
};

}  // namespace

TEST_F(SettingsFileTest, StartsWithTheGivenFileAndWritesItBackWithTheUsersChanges) {
  Win32Window& window = program->window();
  EXPECT_EQ(window.text(cid::mode), "Mutipass - Nth pass");
  EXPECT_EQ(window.text(cid::ae), "Nero(ABR)") << "stored 4 is entry 2 of the encoder list";
  EXPECT_EQ(window.text(cid::value), "1500");
  EXPECT_EQ(window.state(cid::biasbar), 80) << "the slider shows the loaded bias";

  TypeInto(control(cid::value), L"2500");
  Click(control(cid::psnr));
  ChooseListEntry(control(cid::muxer), 0);
  TypeInto(control(cid::minqp), L"60");  // clamped to 51 while typing
  EXPECT_EQ(close(), 0);

  std::string expected = kGivenFile;
  expected = Replace(expected, "\r\nvalue = 1500\r\n", "\r\nvalue = 2500\r\n");
  expected = Replace(expected, "\r\npsnr = 1\r\n", "\r\npsnr = 0\r\n");
  expected = Replace(expected, "\r\nmuxer = 2\r\n", "\r\nmuxer = 0\r\n");
  expected = Replace(expected, "\r\nminqp = 12\r\n", "\r\nminqp = 51\r\n");
  EXPECT_EQ(ReadBytes(ini), expected);
}

TEST_F(SettingsFileTest, ASaveThatCannotReplaceTheFileLeavesItIntact) {
  TypeInto(control(cid::value), L"2500");
  // Another program holds the file open and lets nobody replace it.
  HANDLE held = CreateFileW(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::wstring shown;
  std::thread answer = AnswerBox(program->window().handle(), L"quorvel", [&](HWND box) {
    shown = TextOf(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(close(), 0) << "closing is never refused";
  answer.join();
  CloseHandle(held);
  EXPECT_EQ(shown.rfind(L"The file cannot be written:\n" + ini + L"\n\n", 0), 0u)
      << "the failed save is reported: " << Narrow(shown);
  EXPECT_EQ(ReadBytes(ini), kGivenFile);
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((TestProgramFolder() + L"*.quorvel-tmp").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "no temporary file is left behind";
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST(StartUp, AsksForACustomMatrixOnlyOnceTheWindowIsOnScreen) {
  const std::wstring ini = TestProgramFolder() + L"quorvel.ini";
  ASSERT_TRUE(WriteBytes(ini, "cqm = custom...\r\n"));
  std::atomic<bool> windowShown = false;
  std::atomic<HWND> main = nullptr;
  std::atomic<HWND> cqm = nullptr;
  std::wstring cqmAfterwards;
  // The requester is answered whenever it comes, before or after the window.
  std::thread answer([&] {
    for (int i = 0; i < 400; ++i) {
      HWND box = FindWindowW(L"#32770", L"Select a matrix file");
      if (box && IsWindowVisible(box)) {
        HWND owner = GetWindow(box, GW_OWNER);
        windowShown = owner && IsWindowVisible(owner);
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        for (int wait = 0; wait < 100 && !main; ++wait) Sleep(20);
        Sleep(200);
        cqmAfterwards = TextOf(cqm);
        PostMessageW(main, WM_CLOSE, 0, 0);
        return;
      }
      Sleep(25);
    }
  });
  Program program(GetModuleHandleW(nullptr));
  cqm = program.window().control(cid::cqm);
  main = program.window().handle();
  EXPECT_EQ(program.run(), 0);
  answer.join();
  EXPECT_TRUE(windowShown) << "the window was on screen when the requester came";
  EXPECT_EQ(cqmAfterwards, L"flat");
  DeleteFileW(ini.c_str());
}
