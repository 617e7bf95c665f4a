// How well a parameter's display text answers the text a user asked for.
// The user may add the parameter's label ("70%", "20 m"). Effects often
// show numbers with more digits than anyone types ("30.000002" for 30), so
// numbers also match by value, to the precision the user typed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace slicecastcli {

class DisplayMatch {
public:
    explicit DisplayMatch(std::string_view wanted);

    // The same text, with or without the label.
    bool exact(std::string_view display, std::string_view label) const;
    // How far the number shown lies from the number asked for, if both are
    // numbers and it lies within half a unit of the last digit typed.
    std::optional<double> distance(std::string_view display, std::string_view label) const;

private:
    std::string_view withoutLabel(std::string_view label) const;

    std::string wanted_;
};

}  // namespace slicecastcli
