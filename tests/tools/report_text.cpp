#include "report_text.h"

#include <algorithm>
#include <sstream>

namespace tooltest {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) all.push_back(line);
    return all;
}

bool hasLine(const std::string& text, const std::string& line) {
    const std::vector<std::string> all = lines(text);
    return std::find(all.begin(), all.end(), line) != all.end();
}

std::optional<std::string> field(const std::string& text, const std::string& key) {
    const std::string start = key + ":";
    for (const std::string& line : lines(text)) {
        if (line.rfind(start, 0) != 0) continue;
        const auto value = line.find_first_not_of(' ', start.size());
        return value == std::string::npos ? std::string() : line.substr(value);
    }
    return std::nullopt;
}

}  // namespace tooltest
