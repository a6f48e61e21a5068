// Splitting a command line into its program and its parameters.
#pragma once
#include <string>
#include <vector>

namespace config {

// Tokens of a command line. Outside double quotes every run of blanks separates tokens. A double
// quote opens a quoted part only when, after any blanks following it, a character other than a
// blank or a double quote comes; those blanks are skipped and the next double quote closes the
// part. Quotes themselves are dropped, so a quoted part joins the token it touches.
std::vector<std::string> CommandLineTokens(const char* line);

// The first token is the program (the whole line when it holds no token); every other token,
// each preceded by one blank, forms the parameters.
void SplitCommandLine(const char* line, std::string& program, std::string& parameters);

}  // namespace config
