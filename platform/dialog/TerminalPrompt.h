// The prompts asked on a terminal: the title and default text are printed and
// one line is read; the choice prompt lists the lines numbered and reads a
// number. Text goes out and comes in as UTF-8 and is Windows-1252 on our side.
// End of input, or an answer that is not a listed number, is "cancelled".
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace Platform {

// An empty answer keeps the default text, as Enter would on the selected text of a dialog.
std::optional<std::string> PromptTextOnTerminal(std::istream& in, std::ostream& out, const std::string& title,
                                                const std::string& defaultText);
std::optional<int> PromptChoiceOnTerminal(std::istream& in, std::ostream& out, const std::string& title,
                                          const std::vector<std::string>& lines);

} // namespace Platform
