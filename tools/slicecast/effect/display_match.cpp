#include "display_match.h"

#include <cmath>

#include "commands/text_compare.h"

namespace slicecastcli {

namespace {

// Half a unit of the last digit of a number as typed: 0.5 for "30",
// 0.05 for "1.3".
double halfLastDigit(std::string_view number) {
    const auto point = number.find('.');
    if (point == std::string_view::npos) return 0.5;
    const auto digits = number.substr(point + 1).find_first_not_of("0123456789");
    const auto decimals = digits == std::string_view::npos ? number.size() - point - 1 : digits;
    return 0.5 * std::pow(10.0, -static_cast<double>(decimals));
}

}  // namespace

DisplayMatch::DisplayMatch(std::string_view wanted) : wanted_(trimmed(wanted)) {}

std::string_view DisplayMatch::withoutLabel(std::string_view label) const {
    const std::string_view wanted = wanted_;
    label = trimmed(label);
    if (label.empty() || wanted.size() <= label.size()) return wanted;
    const std::size_t cut = wanted.size() - label.size();
    return sameText(wanted.substr(cut), label) ? trimmed(wanted.substr(0, cut)) : wanted;
}

bool DisplayMatch::exact(std::string_view display, std::string_view label) const {
    return sameText(display, wanted_) || sameText(display, withoutLabel(label));
}

std::optional<double> DisplayMatch::distance(std::string_view display, std::string_view label) const {
    const std::string_view wantedText = withoutLabel(label);
    const auto wanted = parseNumber<double>(wantedText);
    const auto shown = parseNumber<double>(display);
    if (!wanted || !shown) return std::nullopt;
    const double distance = std::fabs(*shown - *wanted);
    if (!(distance <= halfLastDigit(wantedText))) return std::nullopt;
    return distance;
}

}  // namespace slicecastcli
