#pragma once
// The driver's own options and the walk over them. Everything on the command line, these
// options included, is still handed to the compiler; the walk only records what the driver
// needs to choose and check.

#include <popt.h>

#include <string>

namespace kcc8 {

/// -1 when no mode option was given, 0 after --extended, 1 after --no-extended.
extern int mode;
/// Set once a -p option has been accepted.
extern bool processor_specified;
/// Receives -pa; only the compiler uses it, through the forwarded command line.
extern int procedural_abstraction_count;
/// The processor name of the latest -p, trimmed, letters as typed.
extern std::string Part_Name;
extern poptContext s_option_context;
/// The driver's own full file name; the resource file lies in its folder.
extern std::string toolpath;
/// --extended, --no-extended, -pa <n>, -p <processor>. No automatic help entries: a help
/// request is just another argument for the compiler.
extern struct poptOption options_table[];

/// Creates the option context over the arguments (and resets the walk's state). True when a
/// context exists.
bool cmd_init(int argc, char** argv);

/// Walks the options. False when a conflict was found; every conflict is reported, and each -p
/// is checked against the resource file as it comes. Ends the process with code 1 at once when
/// the device of a -p is unknown or not of the 18xxxx family.
bool cmd_parse_args();

/// Releases the option context.
void cmd_free();

/// Removes leading and trailing white space in place and returns the text.
char* strstrip(char* text);

}  // namespace kcc8
