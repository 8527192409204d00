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
#include "system.h"

namespace {

const char Description[] = "Shows, makes and compares save files (*.asd) of the game.";

const char Footer[] =
    "info and diff are for people: Japanese, every value named as the editor names it; diff's\n"
    "exit code tells a script whether the files differ. export is for scripts: a JSON document\n"
    "(format asd-values/1) that import reads back.\n"
    "\n"
    "import and set change only the values named; the others stay as they are. An exported\n"
    "document imports back to the same bytes, except END? values other than 0 and 1, which\n"
    "become the 0 or 1 the editor writes. set takes the document's keys, * for every index:\n"
    "  turnCount=215 smallValues.2=1 items.10=99 units.7.level=99 units.*.ended=false\n"
    "A value outside the editor's range for its field is refused unless it is the one\n"
    "already in the file; a refused document writes nothing. Paths may hold any characters.\n"
    "\n"
    "Before import, set and restore write a save file, and before sample --force and export\n"
    "--force replace one, a copy of it goes into the folder asdedit-backups beside it, as the\n"
    "editor makes them; the newest 20 are kept, and the first after the editor opened the\n"
    "file. backups lists them; restore writes one back. When no backup can be made, nothing\n"
    "is written (exit code 5): --no-backup writes without one.\n"
    "\n"
    "Exit codes: 0 done (diff: the files hold the same values), 1 diff: the files differ,\n"
    "2 cannot open a file, 3 not a save file, 4 save file cut short, 5 cannot write a file\n"
    "or standard output, or make a backup, 6 document or value refused, 7 the file exists\n"
    "(use --force), 8 unknown command or option, or arguments missing or too many, 9 another\n"
    "program changed the save file after it was read (nothing written: run the command again).";

// What the command line says: the command and its operands and options.
struct Request {
  std::string file;
  std::string other;  // diff's FILE2, import's DOC, export's OUT
  std::vector<std::string> settings;
  std::uint32_t seed = 1;
  unsigned long number = 0;  // restore's NUMBER; 0: the newest backup
  bool force = false;
  bool noBackup = false;
};

// "asdtool: why" and the way to the help, on standard error; the usage exit code.
int Usage(const std::string& command, const std::string& why) {
  // Nothing more can be said when standard error itself fails.
  (void)WriteStream(stderr, "asdtool: " + command + why + "\nsee asdtool --help\n");
  return ExitUsage;
}

void AddCommands(CLI::App& app, Request& request) {
  app.add_subcommand("info",
                     "for people: every value, named as the editor names it (END? 1 = ticked)")
      ->add_option("FILE", request.file, "a save file")
      ->required();
  CLI::App* sample = app.add_subcommand("sample", "writes a new synthetic save file");
  sample->add_option("FILE", request.file, "the file to make")->required();
  sample->add_option("--seed", request.seed, "0 to 4294967295: the same file for the same seed");
  sample->add_flag("--force", request.force, "replace FILE, keeping its permissions and owner");
  CLI::App* diff = app.add_subcommand(
      "diff", "for people: the values that differ, named as the editor names them");
  diff->add_option("FILE1", request.file, "a save file")->required();
  diff->add_option("FILE2", request.other, "another save file")->required();
  CLI::App* exporting = app.add_subcommand(
      "export", "for scripts: every value as a JSON document (UTF-8), as import takes it");
  exporting->add_option("FILE", request.file, "a save file")->required();
  exporting->add_option("-o", request.other, "the file to write (else standard output)")
      ->option_text("OUT");
  exporting->add_flag("--force", request.force, "replace OUT, keeping its permissions and owner");
  CLI::App* import = app.add_subcommand("import", "writes the values a JSON document names");
  import->add_option("FILE", request.file, "a save file, changed in place")->required();
  import->add_option("DOC", request.other, "the document; - is standard input")->required();
  CLI::App* set = app.add_subcommand("set", "writes the values KEY=VALUE names");
  set->add_option("FILE", request.file, "a save file, changed in place")->required();
  set->add_option("KEY=VALUE", request.settings, "keys as in the document: see below")->required();
  set->footer(SettableKeys());
  app.add_subcommand("backups", "for people: the backups of a save file, newest first")
      ->add_option("FILE", request.file, "a save file")
      ->required();
  CLI::App* restore = app.add_subcommand("restore", "writes a backup back over a save file, whole");
  restore->add_option("FILE", request.file, "the save file: damaged, cut short or missing too")
      ->required();
  restore
      ->add_option("NUMBER", request.number,
                   "the backup's number, as backups lists it; the newest when not given")
      ->check(CLI::Range(1UL, 999999999UL));
  for (CLI::App* writer : {sample, exporting, import, set, restore})
    writer->add_flag("--no-backup", request.noBackup, "write over a save file without a backup");
}

int RunCommand(const std::string& command, const Request& request) {
  const char* file = request.file.c_str();
  SetBackups(!request.noBackup);
  if (command == "info") return InfoCommand(file);
  if (command == "sample") return SampleCommand(file, request.seed, request.force);
  if (command == "diff") return DiffCommand(file, request.other.c_str());
  if (command == "export") return ExportCommand(file, request.other, request.force);
  if (command == "import") return ImportCommand(file, request.other);
  if (command == "backups") return BackupsCommand(file);
  if (command == "restore") return RestoreCommand(file, request.number);
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

}  // namespace

// Runs a command; an exception that gets this far (memory running out) is a
// message and a failure too, never an abnormal end.
int main(int argc, char** argv) {
  try {
    std::vector<std::string> args;
    const int code = ReadArguments(argc, argv, &args);
    if (code != ExitOk) return code;
    std::vector<const char*> pointers;
    pointers.reserve(args.size());
    for (const std::string& arg : args) pointers.push_back(arg.c_str());
    return Run(static_cast<int>(pointers.size()), pointers.data());
  } catch (const std::exception& error) {
    return Fail("error", error.what(), ExitWriteFailed);
  }
}
