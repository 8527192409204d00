// asdtool run from a shell: its output, the files it writes, its exit codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

#include "support/model.h"
#include "tools/asdtool/reasons.h"

namespace {

std::string Q(const std::string& text) { return "\"" + text + "\""; }

#ifdef _WIN32
// Runs command (program, when given) in folder with input, output and error as its standard
// streams: its exit code. Wine runs a Unix program as a process that cannot be waited for.
DWORD Spawn(const wchar_t* program, std::wstring command, const std::string& folder,
            HANDLE input = nullptr, HANDLE output = nullptr, HANDLE error = nullptr) {
  STARTUPINFOW start = {};
  start.cb = sizeof start;
  start.dwFlags = output ? STARTF_USESTDHANDLES : 0;
  start.hStdInput = input;
  start.hStdOutput = output;
  start.hStdError = error;
  PROCESS_INFORMATION process = {};
  DWORD code = ~0u;
  if (CreateProcessW(program, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                     std::filesystem::u8path(folder).wstring().c_str(), &start, &process)) {
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  return code;
}
#else
// Runs line in a shell: its exit code.
int Shell(const std::string& line) {
  const int status = std::system(line.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

// The text of the file at path, without carriage returns.
std::string Text(const std::string& path) {
  std::string text;
  for (unsigned char c : ReadBytes(path))
    if (c != '\r') text += static_cast<char>(c);
  return text;
}

class AsdTool : public ::testing::Test {
protected:
  // Runs asdtool with args (quoted), its standard input from the file in when given: its exit
  // code; out and err hold what it wrote.
  int Run(const std::string& args, const std::string& in = "") {
#ifdef _WIN32
    // Started straight from here, as cmd.exe would start it, in half the time under Wine.
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    const auto open = [&](const std::string& path, DWORD access, DWORD how) {
      return CreateFileW(std::filesystem::u8path(path).c_str(), access,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, how, 0, nullptr);
    };
    const HANDLE streams[] = {in.empty() ? nullptr : open(in, GENERIC_READ, OPEN_EXISTING),
                              open(dir + "out", GENERIC_WRITE, CREATE_ALWAYS),
                              open(dir + "err", GENERIC_WRITE, CREATE_ALWAYS)};
    const std::wstring line = std::filesystem::u8path(Q(ASDTOOL_PATH) + " " + args).wstring();
    const int code =
        static_cast<int>(Spawn(nullptr, line, dir, streams[0], streams[1], streams[2]));
    for (HANDLE stream : streams)
      if (stream) CloseHandle(stream);
#else
    const int code = Shell(as + Q(ASDTOOL_PATH) + " " + args + (in.empty() ? "" : " <" + Q(in)) +
                           " >" + Q(dir + "out") + " 2>" + Q(dir + "err"));
#endif
    out = Text(dir + "out");
    err = Text(dir + "err");
    return code;
  }
  std::string dir = ScratchDir();
  std::string a = dir + "a.asd";
  std::string b = dir + "b.asd";
  std::string out;
  std::string err;
  std::string as;  // before asdtool's path: the user it runs as
};

}  // namespace

TEST_F(AsdTool, SampleInfoAndDiffShowTheValuesAsTheEditorDoes) {
  ASSERT_EQ(0, Run("sample " + Q(a)));
  Bytes bytes = ReadBytes(a);
  EXPECT_EQ(0, Run("info " + Q(a)));
  // The same values everywhere, named as the editor names them.
  const std::string head =
      u8"ターン数: 215\n小さな値: 2 3 1\nアイテム:\n  0 やくそう     73   1 上";
  EXPECT_EQ(0u, out.find(head)) << out;
  EXPECT_NE(std::string::npos, out.find(u8"モンスター:\n  0 スライム     46")) << out;
  EXPECT_NE(std::string::npos, out.find(u8"\n   7 オルテア       32 ")) << out;
  EXPECT_EQ(0, Run("sample " + Q(b) + " --seed 1"));  // the same numbers for the same seed
  EXPECT_EQ(7, Run("sample " + Q(b) + " --seed 2"));  // and nothing over a file without --force
  EXPECT_EQ(bytes, ReadBytes(b));
  EXPECT_EQ(0, Run("diff " + Q(a) + " " + Q(b)));
  EXPECT_EQ(u8"違いはありません\n", out);
  PutWord(bytes, StatOffset(LevelRow, 12), 98);
  PutWord(bytes, CounterOffset(3), 77);
  PutWord(bytes, CounterOffset(ItemCounterCount + 3), 77);
  PutWord(bytes, StatOffset(EndFlagRow, 3), !WordAt(bytes, StatOffset(EndFlagRow, 3)));
  ASSERT_TRUE(WriteBytes(b, bytes));
  EXPECT_EQ(1, Run("diff " + Q(a) + " " + Q(b)));  // as diff and cmp say "they differ"
  EXPECT_EQ(
      u8"アイテム 3 目覚めの鈴: 37 -> 77\nモンスター 3 オーク: 46 -> 77\n"
      u8"ユニット 3 ドルガン END?: 1 -> 0\nユニット 12 敵 レベル: 74 -> 98\n",
      out);
#ifndef _WIN32
  EXPECT_EQ(5, Shell(Q(ASDTOOL_PATH) + " info " + Q(a) + " >/dev/full 2>&1"));  // a failed write
#else
  EXPECT_EQ(": system error 536870913", SystemReason(0x20000001));  // a code without a text
#endif
  // A reason is words also where the system has none.
  EXPECT_EQ(": the write was cut short (no error reported)", Because(0));
}

TEST_F(AsdTool, ExportImportAndSetChangeExactlyTheValuesNamedThroughAnyPath) {
  const std::string folder = dir + u8"Téléchargements/세이브 데이터/表ソ 能/";
  std::filesystem::create_directories(std::filesystem::u8path(folder + "sub"));
  a = folder + "a.asd";
  const Bytes original = SyntheticSave(13, true);  // values far outside the editor's ranges too
  ASSERT_TRUE(WriteBytes(a, original));
  GameStateData state = StateOf(original);
  const std::string doc = folder + "v.json";
  ASSERT_EQ(0, Run("export " + Q(a) + " -o " + Q(doc))) << err;
  ASSERT_EQ(0, Run("import " + Q(a) + " " + Q(doc))) << err;
  EXPECT_EQ(original, ReadBytes(a));
  ASSERT_EQ(0, Run("export " + Q(a)));  // each entry named as the editor names it
  EXPECT_NE(std::string::npos, out.find(u8"\"ドルガン\",\n      \"level\": ")) << out;

  const std::string partial =
      u8R"({"turnCount": 7, "smallValues": [3, 0, 1], "monsters": [{"index": 11, "count": 99}],
      "units": [{"unit": 9, "x": 9, "ended": true},
      {"name": "アルシオン", "y": 0, "unit": 0, "level": 65535}]})";
  ASSERT_TRUE(WriteBytes(doc, Bytes(partial.begin(), partial.end())));
  ASSERT_EQ(0, Run("import " + Q(a) + " -", doc)) << err;
  state.turnCount = 7;
  std::copy_n("\3\0\1", 3, state.smallValues);
  state.counters[ItemCounterCount + 11] = 99;
  state.statRows[XRow][9] = 9;
  state.statRows[EndFlagRow][9] = 1;
  state.statRows[YRow][0] = 0;
  state.statRows[LevelRow][0] = 65535;
  EXPECT_EQ(Stored(original, state), ReadBytes(a));

  // In order: a * key over the index before it, and an index after it over the *.
  ASSERT_EQ(0, Run("set " + Q(a) + " units.3.level=7 " + Q("units.*.level=99") + " " +
                   Q("items.*=0") + " units.3.ended=false units.4.level=98"))
      << err;
  for (int u = 0; u < UnitCount; ++u) state.statRows[LevelRow][u] = u == 4 ? 98 : 99;
  for (int k = 0; k < ItemCounterCount; ++k) state.counters[k] = 0;
  state.statRows[EndFlagRow][3] = 0;
  const Bytes edited = Stored(original, state);
  EXPECT_EQ(edited, ReadBytes(a));

  Bytes foreign = edited;
  foreign[100] ^= 1;
  Bytes cut = edited;
  cut.resize(ModelLength - 1);
  ASSERT_TRUE(WriteBytes(dir + "foreign.asd", foreign) && WriteBytes(dir + "cut.asd", cut));
  const std::size_t before = FolderFiles(folder).size();
  const std::string sub = Q(folder + "sub");
  const std::string set = "set " + Q(a) + " ";
  struct Case {
    std::string doc;   // written to DOC and imported, when not empty
    std::string args;  // after "asdtool", when not empty
    int code;
    const char* place;  // what the message names
  } cases[] = {
      // clang-format off
      {"", "sample " + Q(b) + " --sed 2", 8, "--sed"},
      {"", "info " + Q(dir + "none"), 2, "none: cannot open the file: No such file or directory"},
      {"", "set " + sub + " turnCount=1", 2, "sub"},  // a folder is no file to read: as a save
      {"", "import " + Q(a) + " " + sub, 2, "sub"},  // and as a document
      {"", "diff " + Q(a) + " " + Q(dir + "foreign.asd"), 3, "foreign.asd"},
      {"", "info " + Q(dir + "cut.asd"), 4, "cut.asd"},
      {"", "export " + Q(a) + " -o " + sub + " --force", 5, "sub: is a folder"},  // no partial file
      {"", "sample " + sub, 5, "sub: is a folder"},
      {"", "export " + Q(a) + " -o " + Q(doc), 7, "v.json"},
      {R"({"units":[{"unit":5,"x":1},{"unit":3,"x":10}]})", "", 6, "units[1] (unit 3).x: 10 is outside 0 to 9"},
      {R"({"turncount": 1})", "", 6, "turncount: unknown key (turnCount?)"},
      {R"({"monsters": [{"index": 1}, {"index": 1}]})", "", 6, "monsters[1]"},
      {R"({"units": [{"unit": 2}, {"unit": 0, "level": 5, "level": 6}]})", "", 6, "units[1] (unit 0).level: given twice"},
      {"{\n  \"turnCount\": 1,\n}", "", 6, "line 3, column 1"},
      {"", set + "units.0.level=1 units.50.x=1", 6, "units.50.x: units are 0 to 49"},
      {"", set + "turncount=5", 6, "turncount: names no value (turnCount?)"},
      // set refuses what a document refuses, in the same words after the place.
      {R"({"units": [{"unit": 3, "ended": 1}]})", set + "units.3.ended=1", 6, ": must be true or false"},
      {R"({"items": [{"index": 2, "count": 100}]})", set + "items.2=100", 6, ": 100 is outside 0 to 99"},
      {R"({"turnCount": 1.5})", set + "turnCount=1.5", 6, ": must be a whole number"},
      {R"({"turnCount": 18446744073709551616})", set + "turnCount=18446744073709551616", 6, ": 18446744073709551616 is outside 0 to 65535"},
      {R"({"units": [{"unit": 2, "level": 5, "level": 6}]})", set + "units.2.level=5 units.2.level=6", 6, ": given twice"},
      // clang-format on
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(c.doc.empty() || WriteBytes(doc, Bytes(c.doc.begin(), c.doc.end())));
    for (const std::string& args : {c.args, c.doc.empty() ? "" : "import " + Q(a) + " " + Q(doc)}) {
      if (args.empty()) continue;
      EXPECT_EQ(c.code, Run(args)) << args;
      EXPECT_NE(std::string::npos, err.find(c.place)) << c.doc << args << ": " << err;
      EXPECT_EQ(edited, ReadBytes(a)) << c.doc << args;
    }
  }
  EXPECT_EQ(before, FolderFiles(folder).size());  // no partial file left behind

#ifndef _WIN32
  // The game saves into the file as set opens it to write: its save stays, and the user is told
  // to run the command again.
  Bytes game = edited;
  PutWord(game, CounterOffset(CounterCount - 1), GameSavedCounter);
  EXPECT_EQ(9, Shell(Q(GAME_SAVES_PATH) + " set " + Q(a) + " turnCount=5 2>" + Q(dir + "err")));
  EXPECT_EQ(game, ReadBytes(a));
  EXPECT_EQ("asdtool: " + a +
                ": another program changed the file after it was read; run the command again\n",
            Text(dir + "err"));
#endif
}

// Before each write a backup of the file as it was, none under --no-backup or where the newest
// holds it already; restore writes one back whole, over a save grown or cut short too, and first
// backs that up; the numbers stay as backups come. No backup, no write.
TEST_F(AsdTool, BacksUpEveryWriteAndRestoresAnyBackup) {
  namespace fs = std::filesystem;
  const Bytes first = SyntheticSave(5, true);
  ASSERT_TRUE(WriteBytes(a, first) && WriteBytes(b, Bytes{'{', '}'}));
  fs::permissions(fs::u8path(a), fs::perms::owner_read | fs::perms::owner_write);
  const std::string folder = dir + "asdedit-backups/";
  ASSERT_EQ(0, Run("set " + Q(a) + " turnCount=1")) << err;
  ASSERT_EQ(0, Run("set " + Q(a) + " units.0.level=9 --no-backup")) << err;
  const Bytes third = ReadBytes(a);
  for (int i = 0; i < 2; ++i) ASSERT_EQ(0, Run("import " + Q(a) + " " + Q(b))) << err;
  EXPECT_EQ((std::vector<Bytes>{first, third}), FolderFiles(folder));
#ifndef _WIN32
  for (const auto& entry : fs::directory_iterator(fs::u8path(folder)))  // as the save: its owner's
    EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write, entry.status().permissions());
#endif
  Bytes grown = third;
  grown.resize(grown.size() + 100);
  ASSERT_TRUE(WriteBytes(a, grown));
  ASSERT_EQ(0, Run("restore " + Q(a) + " 1")) << err;
  EXPECT_EQ(first, ReadBytes(a));
  ASSERT_TRUE(WriteBytes(a, Bytes(first.begin(), first.begin() + 1000)));
  ASSERT_EQ(0, Run("restore " + Q(a) + " 2")) << err;
  EXPECT_EQ(third, ReadBytes(a));
  EXPECT_EQ(4, Run("restore " + Q(a) + " 4"));  // the file cut short, backed up: no save file
  EXPECT_EQ(third, ReadBytes(a));
  ASSERT_EQ(0, Run("backups " + Q(a))) << err;
  for (std::size_t at = 0; at + 4 < out.size(); at = out.find('\n', at) + 1)
    out.erase(at + 4, 23);  // the time it was made
  EXPECT_EQ(
      u8"0004完全なセーブデータではありません\n0003ターン数 1  今と違う値 0\n"
      u8"0002ターン数 1  今と違う値 0\n0001ターン数 " +
          std::to_string(StateOf(first).turnCount) + u8"  今と違う値 2\n",
      out);

  for (int n = 15; n <= 30; ++n)  // 20 in all: a restore of the oldest keeps it till it is done
    ASSERT_TRUE(
        WriteBytes(folder + "a.asd.00" + std::to_string(n) + ".2000-01-01_00-00-00.bak", {}));
  ASSERT_EQ(0, Run("restore " + Q(a) + " 1")) << err;
  EXPECT_EQ(0, Run("restore " + Q(a) + " 1")) << err;
  std::string name = dir + "n";  // 250 bytes: the partial file's name and the backups' cut short
  while (name.size() < dir.size() + 250) name += u8"名";
  ASSERT_EQ(0, Run("sample " + Q(name))) << err;
  EXPECT_EQ(0, Run("set " + Q(name) + " turnCount=1")) << err;

  const std::string blocked = dir + "blocked/s1.asd";
  ASSERT_TRUE(WriteBytes(blocked, first) && WriteBytes(dir + "blocked/asdedit-backups", {'x'}));
  EXPECT_EQ(5, Run("set " + Q(blocked) + " turnCount=1"));
  EXPECT_NE(std::string::npos, err.find("--no-backup")) << err;
  EXPECT_EQ(5, Run("sample " + Q(blocked) + " --force"));
  EXPECT_EQ(first, ReadBytes(blocked));
}

#ifndef _WIN32
// With --force, export writes into what OUT leads to: the file at the end of a chain of links, a
// FIFO's reader. Without it, a file that turns up after the check for OUT stays as it is: strace
// makes that check miss the file, then the no-replace rename fail as on a file system that takes
// no flags for it. A file --force replaces passes on what it had, or nothing is written. Any name
// the system takes is written, the new file made and filled through one open, and a replace is on
// the disk, its folder too, when asdtool says done.
TEST_F(AsdTool, WritesWhereItIsToldOverNoFileThatTurnsUpKeepingWhatTheFileHad) {
  ASSERT_EQ(0, Run("sample " + Q(a)));
  ASSERT_EQ(0, Run("export " + Q(a)));
  const Bytes doc(out.begin(), out.end());
  const Bytes old = {'o', 'l', 'd'};
  std::filesystem::create_symlink("file", dir + "link");
  std::filesystem::create_symlink(dir + "link", dir + "chain");
  EXPECT_EQ(7, Run("export " + Q(a) + " -o " + Q(dir + "chain")));  // a link to no file is there
  for (int i = 0; i < 2; ++i) {  // making the file the links lead to, then replacing it
    EXPECT_EQ(0, Run("export " + Q(a) + " -o " + Q(dir + "chain") + " --force")) << err;
    EXPECT_EQ(doc, ReadBytes(dir + "file"));
    ASSERT_TRUE(WriteBytes(dir + "file", old));
  }
  EXPECT_TRUE(std::filesystem::is_symlink(dir + "chain") &&
              std::filesystem::is_symlink(dir + "link"));

  ASSERT_EQ(0, mkfifo((dir + "fifo").c_str(), 0600));
  // A reader that waits; the document fits in the FIFO's buffer, so asdtool need not wait for it.
  const int reader = open((dir + "fifo").c_str(), O_RDONLY | O_NONBLOCK);
  EXPECT_EQ(0, Run("export " + Q(a) + " -o " + Q(dir + "fifo") + " --force")) << err;
  std::vector<char> got(doc.size() + 1);
  got.resize(std::max<ssize_t>(read(reader, got.data(), got.size()), 0));
  EXPECT_EQ(doc, Bytes(got.begin(), got.end()));
  EXPECT_TRUE(close(reader) == 0 && std::filesystem::is_fifo(dir + "fifo"));

  const std::string trace = dir + "out";  // strace's record, in a file already there
  // asdtool under strace, with its options; LeakSanitizer, in a sanitized build, cannot look for
  // leaks under strace.
  const auto strace = [&](const std::string& options) {
    return Shell("ASAN_OPTIONS=$ASAN_OPTIONS:detect_leaks=0 strace -qq -o " + Q(trace) + options);
  };
  const std::string folder = std::filesystem::canonical(dir).string();
  // A name as long as the system takes, made, then replaced: the partial file is made and opened
  // once, its name cut at a whole character, and the folder goes to the disk after the rename.
  std::string name = dir + "n";
  while (name.size() < dir.size() + 250) name += u8"名";
  EXPECT_EQ(0, Run("export " + Q(a) + " -o " + Q(name))) << err;
  EXPECT_EQ(0, strace(" -y -e trace=openat,rename,renameat,renameat2,fsync " + Q(ASDTOOL_PATH) +
                      " sample " + Q(name) + " --force"));
  const std::string calls = Text(trace);
  EXPECT_NE(std::string::npos, calls.find("<" + folder + ">)", calls.find("rename"))) << calls;
  const std::regex partial("openat\\([^\\n]*\\\\215\\.asdtool-");  // ending in 名's last byte
  EXPECT_EQ(1, std::distance(std::sregex_iterator(calls.begin(), calls.end(), partial), {}));
  EXPECT_EQ(ReadBytes(a), ReadBytes(name));
  // set writes in place: the backup is on the disk before the save's first byte is written, and
  // the save before set says done.
  EXPECT_EQ(
      0, strace(" -y -e trace=write,fsync " + Q(ASDTOOL_PATH) + " set " + Q(a) + " turnCount=3"));
  const std::string writes = Text(trace);
  const std::string save = "<" + std::filesystem::canonical(a).string() + ">";
  EXPECT_LT(writes.find(".bak>)"), writes.find(save + ", ")) << writes;
  const std::size_t synced = writes.rfind(save + ")");
  EXPECT_TRUE(synced != std::string::npos && writes.rfind(save + ", ") < synced) << writes;

  const auto entries = [&] { return std::distance(std::filesystem::directory_iterator(dir), {}); };
  const auto before = entries();
  for (const std::string refusal : {" ", " -e inject=renameat2:error=EINVAL "}) {
    EXPECT_EQ(7, strace(" -P " + Q(dir + "file") + " -P " + Q(folder) +
                        " -e inject=%%stat:error=ENOENT" + refusal + Q(ASDTOOL_PATH) + " export " +
                        Q(a) + " -o " + Q(dir + "file") + " 2>" + Q(dir + "err")));
    EXPECT_NE(std::string::npos, Text(trace).find(refusal.size() > 1 ? "link" : "INJECTED"))
        << Text(trace);
    EXPECT_EQ(old, ReadBytes(dir + "file"));
  }

  const unsigned nobody = 65534;
  ASSERT_TRUE(chown(a.c_str(), nobody, nobody) == 0 && chmod(a.c_str(), 0640) == 0);
  const mode_t mask = umask(077);  // which the new file is not made with
  EXPECT_EQ(0, Run("sample " + Q(a) + " --seed 2 --force")) << err;
  struct stat status = {};
  ASSERT_EQ(0, stat(a.c_str(), &status));
  EXPECT_EQ(0100640u, status.st_mode);
  EXPECT_TRUE(status.st_uid == nobody && status.st_gid == nobody);
  // Owner rw, group r, group 0 rw (mode 0660, the mask), others nothing.
  const std::uint32_t acl[] = {2, 0x60001, ~0u, 0x40004, ~0u, 0x60008, 0, 0x60010, ~0u, 0x20, ~0u};
  ASSERT_EQ(0, setxattr(a.c_str(), "system.posix_acl_access", acl, sizeof acl, 0));
  ASSERT_EQ(0, setxattr(a.c_str(), "user.note", "kept", 4, 0));
  EXPECT_EQ(0, Run("sample " + Q(a) + " --force")) << err;
  umask(mask);
  std::uint32_t list[sizeof acl / 4 + 1] = {};
  EXPECT_EQ(44, getxattr(a.c_str(), "system.posix_acl_access", list, sizeof list));
  EXPECT_TRUE(std::equal(acl, std::end(acl), list));
  EXPECT_EQ(4, getxattr(a.c_str(), "user.note", list, sizeof list));

  const Bytes kept = ReadBytes(a);
  ASSERT_EQ(0, link(a.c_str(), (dir + "other").c_str()));
  ASSERT_EQ(0, chmod(dir.c_str(), 0777));  // where nobody may make files
  struct Case {
    unsigned owner;
    mode_t mode;
    const char* why;
  } cases[] = {
      {nobody, 0660, "other names (hard links)"},
      {0, 0666, "owner and group: Operation not permitted"},  // it may write, not give
      {nobody, 0444, "cannot write the file: Permission denied"},
      {0, 0644, "cannot write the file: Permission denied"},
  };
  as = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  for (const Case& c : cases) {
    ASSERT_TRUE(chown(a.c_str(), c.owner, c.owner) == 0 && chmod(a.c_str(), c.mode) == 0);
    EXPECT_EQ(5, Run("sample " + Q(a) + " --seed 3 --force")) << c.why;
    EXPECT_NE(std::string::npos, err.find(c.why)) << err;
    EXPECT_EQ(kept, ReadBytes(a)) << c.why;
    (void)unlink((dir + "other").c_str());
  }
  EXPECT_EQ(before, entries());  // no partial file left behind
}
#else
// What console shows, in UTF-8: each row without its trailing blanks, to the last row written.
std::string Screen(HANDLE console) {
  CONSOLE_SCREEN_BUFFER_INFO info = {};
  GetConsoleScreenBufferInfo(console, &info);
  std::wstring text;
  std::wstring row(info.dwSize.X, L' ');
  for (SHORT y = 0; y < info.dwSize.Y; ++y) {
    DWORD read = 0;
    ReadConsoleOutputCharacterW(console, &row[0], info.dwSize.X, {0, y}, &read);
    text += row.substr(0, row.find_last_not_of(L' ') + 1) + L"\n";
  }
  return std::filesystem::path(text.erase(text.find_last_not_of(L'\n') + 1)).u8string() + "\n";
}

// A console shows what asdtool writes whole, whatever its code page, which stays as it was; the
// same text redirected is UTF-8. --force keeps the attributes of the file it replaces and follows
// a Unix link to it; it refuses a read-only file, as Windows does for root too, and a file with
// other names.
TEST_F(AsdTool, WritesAConsoleWholeAndKeepsWhatTheReplacedFileHad) {
  ASSERT_EQ(0, Run("sample " + Q(b) + " --seed 3"));
  ASSERT_EQ(0, Run("sample " + Q(a)));
  const std::string tool = Q(ASDTOOL_PATH) + " info ";
  const std::string none = Q(dir + u8"無い.asd");
  ASSERT_EQ(0, Run("info " + Q(a)));
  const std::string shown = out;
  ASSERT_EQ(2, Run("info " + none));
  FreeConsole();  // for a console of its own, whose screen it can read
  ASSERT_TRUE(AllocConsole());
  const UINT page = GetConsoleOutputCP();
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  const HANDLE console =
      CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  &inherited, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(SetConsoleScreenBufferSize(console, {200, 300}));
  // Standard output as a console program has it; standard error as cmd opens >CON: write only.
  const HANDLE writeOnly =
      CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                  OPEN_EXISTING, 0, nullptr);
  const std::string line = tool + Q(a) + " & " + tool + none;
  EXPECT_EQ(2u, Spawn(nullptr, L"cmd /c \"" + std::filesystem::u8path(line).wstring() + L"\"", dir,
                      nullptr, console, writeOnly));
  EXPECT_EQ(shown + err, Screen(console));
  EXPECT_EQ(page, GetConsoleOutputCP());
  FreeConsole();

  const std::wstring file = std::filesystem::u8path(a).wstring();
  const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), kept));
  EXPECT_EQ(0, Run("sample " + Q(a) + " --seed 2 --force")) << err;
  EXPECT_EQ(kept, GetFileAttributesW(file.c_str()) & (kept | FILE_ATTRIBUTE_READONLY));
  const std::filesystem::path link = std::filesystem::u8path(dir + "link.asd");
  Spawn(L"Z:\\bin\\ln", L"ln -s a.asd link.asd", dir);
  for (int i = 0; i < 100 && !std::filesystem::exists(link); ++i) Sleep(50);
  EXPECT_EQ(0, Run("sample " + Q(dir + "link.asd") + " --seed 3 --force")) << err;
  const Bytes third = ReadBytes(a);
  EXPECT_EQ(ReadBytes(b), third);              // the file the link leads to
  Spawn(L"Z:\\bin\\rm", L"rm link.asd", dir);  // Wine's DeleteFileW deletes the file it leads to
  for (int i = 0; i < 100 && std::filesystem::exists(link); ++i) Sleep(50);
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(5, Run("sample " + Q(a) + " --force"));
  EXPECT_NE(std::string::npos, err.find("a.asd: cannot write the file: ")) << err;
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL));
  ASSERT_TRUE(CreateHardLinkW((file + L"2").c_str(), file.c_str(), nullptr));
  EXPECT_EQ(5, Run("sample " + Q(a) + " --force"));
  EXPECT_NE(std::string::npos, err.find("other names (hard links)")) << err;
  EXPECT_EQ(third, ReadBytes(a));
}
#endif
