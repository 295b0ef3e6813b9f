// The rules by which the program's command line becomes options: the program
// name is skipped, and the rest is cut into name or name=value pairs, with
// double quotes keeping blanks together. The line comes from outside, so any
// bytes are taken, and an option is never handed with an empty name.
#pragma once

#include <functional>
#include <string>

namespace Tandry {

// The text after the program name and the blank that follows it; empty when
// there is none (or when the program name's opening quote is never closed).
std::string CommandLineOptionsText(const std::string& line);

using CommandLineOptionHandler = std::function<void(const std::string& name, const std::string& value)>;

// Hands each option to the handler, in order.
void SplitCommandLineOptions(const std::string& text, const CommandLineOptionHandler& handler);

} // namespace Tandry
