// asdtool: shows, compares, makes and edits save files of the game from the
// command line. This file reads the command line and runs a command.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "asd_version.h"
#include "commands.h"
#include "document.h"
#include "messages.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

const char Description[] = "Shows, makes and compares save files (*.asd) of the game.";

const char Footer[] =
    "import and set change only the values named; the others stay as they are. An exported\n"
    "document imports back to the same bytes, except END? values other than 0 and 1, which\n"
    "become the 0 or 1 the editor writes. set takes the document's keys, * for every index:\n"
    "  turnCount=215 smallValues.2=1 items.10=99 units.7.level=99 units.*.ended=false\n"
    "A value outside the editor's range for its field is refused unless it is the one\n"
    "already in the file; a refused document writes nothing. Paths may hold any characters.\n"
    "\n"
    "Exit codes: 0 done (diff: the files hold the same values), 1 diff: the files differ,\n"
    "2 cannot open a file, 3 not a save file, 4 save file cut short, 5 cannot write a file\n"
    "or standard output, 6 document or value refused, 7 the file exists (use --force),\n"
    "8 unknown command or option, or arguments missing or too many.";

// What the command line says: the command and its operands and options.
struct Request {
  std::string file;
  std::string other;  // diff's FILE2, import's DOC, export's OUT
  std::vector<std::string> settings;
  std::uint32_t seed = 1;
  bool force = false;
};

// "asdtool: why" and the way to the help, on standard error; the usage exit code.
int Usage(const std::string& command, const std::string& why) {
  const std::string text = "asdtool: " + command + why + "\nsee asdtool --help\n";
  // Nothing more can be said when standard error itself fails.
  (void)std::fputs(text.c_str(), stderr);
  return ExitUsage;
}

void AddCommands(CLI::App& app, Request& request) {
  app.add_subcommand("info", "the values of a save file, END? as the editor shows it (1 = ticked)")
      ->add_option("FILE", request.file, "a save file")
      ->required();
  CLI::App* sample = app.add_subcommand("sample", "writes a new synthetic save file");
  sample->add_option("FILE", request.file, "the file to make")->required();
  sample->add_option("--seed", request.seed, "0 to 4294967295: the same file for the same seed");
  sample->add_flag("--force", request.force, "overwrite FILE when it exists");
  CLI::App* diff = app.add_subcommand("diff", "the values that differ between two save files");
  diff->add_option("FILE1", request.file, "a save file")->required();
  diff->add_option("FILE2", request.other, "another save file")->required();
  CLI::App* exporting = app.add_subcommand("export", "every value as a JSON document (UTF-8)");
  exporting->add_option("FILE", request.file, "a save file")->required();
  exporting->add_option("-o", request.other, "the file to write (else standard output)")
      ->option_text("OUT");
  exporting->add_flag("--force", request.force, "overwrite OUT when it exists");
  CLI::App* import = app.add_subcommand("import", "writes the values a JSON document names");
  import->add_option("FILE", request.file, "a save file, changed in place")->required();
  import->add_option("DOC", request.other, "the document; - is standard input")->required();
  CLI::App* set = app.add_subcommand("set", "writes the values KEY=VALUE names");
  set->add_option("FILE", request.file, "a save file, changed in place")->required();
  set->add_option("KEY=VALUE", request.settings, "keys as in the document: see below")->required();
  set->footer(SettableKeys());
}

int RunCommand(const std::string& command, const Request& request) {
  const char* file = request.file.c_str();
  if (command == "info") return InfoCommand(file);
  if (command == "sample") return SampleCommand(file, request.seed, request.force);
  if (command == "diff") return DiffCommand(file, request.other.c_str());
  if (command == "export") return ExportCommand(file, request.other, request.force);
  if (command == "import") return ImportCommand(file, request.other);
  return SetCommand(file, request.settings);
}

// Reads the command line and runs its command; every failure is a message
// and an exit code.
int Run(int argc, const char* const* argv) {
  CLI::App app(Description, "asdtool");
  app.footer(Footer);
  app.allow_windows_style_options(false);  // a path may begin with a slash
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("asdtool ") + ASD_VERSION_TEXT);
  Request request;
  AddCommands(app, request);
  if (argc < 2) return Usage("", "no command given");
  const std::string command = argv[1];
  const bool known =
      command == "--help" || command == "-h" || command == "--version" ||
      !app.get_subcommands([&](CLI::App* sub) { return sub->get_name() == command; }).empty();
  if (!known)
    return Usage("", std::string(command[0] == '-' ? "unknown option" : "unknown command") + " \"" +
                         command + "\"");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    return WriteOut(app.help() + "\n");
  } catch (const CLI::CallForVersion& version) {
    return WriteOut(std::string(version.what()) + "\n");
  } catch (const CLI::ParseError& error) {
    return Usage(app.get_subcommands().empty() ? "" : command + ": ", error.what());
  }
  return RunCommand(app.get_subcommands().front()->get_name(), request);
}

#ifdef _WIN32
// Whether wide is whole UTF-16: each high surrogate followed by a low one,
// and no low one alone.
bool WholeUtf16(const wchar_t* wide) {
  const auto high = [](wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; };
  const auto low = [](wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
  for (; *wide; ++wide) {
    if (low(*wide) || (high(*wide) && !low(*++wide))) return false;
  }
  return true;
}

// The wide argument as UTF-8; false when it is no valid Unicode. Windows XP
// takes no flags for UTF-8, so the surrogates are checked here.
bool ToUtf8(const wchar_t* wide, std::string* text) {
  if (!WholeUtf16(wide)) return false;
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return false;
  std::vector<char> bytes(size);
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, bytes.data(), size, nullptr, nullptr);
  *text = bytes.data();
  return true;
}

// The arguments from the wide command line, in UTF-8, so that a path
// reaches the file system as the user gave it.
int RunWide() {
  int argc = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!wide) return Fail("the command line", "cannot be read", ExitUsage);
  std::vector<std::string> args(argc);
  int bad = -1;
  for (int i = 0; i < argc; ++i)
    if (!ToUtf8(wide[i], &args[i]) && bad < 0) bad = i;
  LocalFree(wide);
  if (bad >= 0)
    return Fail("argument " + std::to_string(bad), "is no valid Unicode text", ExitUsage);
  std::vector<const char*> argv;
  argv.reserve(args.size());
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  return Run(argc, argv.data());
}
#endif

// Runs a command; an exception that gets this far (memory running out) is a
// message and a failure too, never an abnormal end.
int RunSafely(int argc, const char* const* argv) {
  try {
#ifdef _WIN32
    static_cast<void>(argc);
    static_cast<void>(argv);
    return RunWide();
#else
    return Run(argc, argv);
#endif
  } catch (const std::exception& error) {
    return Fail("error", error.what(), ExitWriteFailed);
  }
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The output is UTF-8; a console shows it as such while the tool runs.
  const UINT consolePage = GetConsoleOutputCP();
  SetConsoleOutputCP(CP_UTF8);
  const int code = RunSafely(argc, argv);
  if (consolePage != 0) SetConsoleOutputCP(consolePage);
  return code;
#else
  return RunSafely(argc, argv);
#endif
}
