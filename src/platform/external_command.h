// Runs an external program and waits for it to end.
#pragma once

#include <string>
#include <vector>

namespace corvane::platform {

// Splits a parameter text into arguments at blanks, tabs and line feeds; a part in double quotes is kept
// together (blanks included) and loses its quotes.
std::vector<std::string> SplitParameterText(const std::string& text);

// Runs the program, found through the PATH search, with the arguments: no shell, standard input and output
// on /dev/null, in a session of its own without a terminal; standard error and working directory
// inherited. It is killed when the calling thread ends, so it never outlives the program (the caller waits
// for it anyway). Waits for it without a time limit. Returns its exit status, or -1 when it could not be
// started or did not exit normally.
int RunExternalCommand(const std::string& program, const std::vector<std::string>& arguments);
int RunExternalCommand(const std::string& program, const std::string& parameterText);

// The program is ending: every command still running is killed (with what it started), and none starts
// any more (RunExternalCommand then returns -1 at once).
void StopExternalCommands();

}  // namespace corvane::platform
