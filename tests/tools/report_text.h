// Reading what the tool printed: its lines, and "Key: value" fields.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tooltest {

std::vector<std::string> lines(const std::string& text);
bool hasLine(const std::string& text, const std::string& line);
// The value of the first line "key: value", blanks around it dropped.
std::optional<std::string> field(const std::string& text, const std::string& key);

}  // namespace tooltest
