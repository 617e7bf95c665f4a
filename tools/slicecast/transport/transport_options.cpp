#include "transport_options.h"

#include <cmath>
#include <stdexcept>

#include "exact_text.h"
#include "random_blocks.h"
#include "commands/text_compare.h"

namespace slicecastcli {

namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) return parts;
        from = at + 1;
    }
}

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

double finiteNumber(std::string_view text, const char* what) {
    const auto number = parseNumber<double>(text);
    if (!number || !std::isfinite(*number)) {
        throw std::invalid_argument(std::string(what) + " " + quoted(text) + " is not a finite number");
    }
    return *number;
}

double tempoValue(std::string_view text) {
    const auto tempo = parseNumber<double>(text);
    if (!tempo || !std::isfinite(*tempo) || !(*tempo > 0.0)) {
        throw std::invalid_argument("not a number above 0: " + std::string(trimmed(text)));
    }
    return *tempo;
}

// "A:B" as its two halves; what names the pair for the message.
std::pair<std::string_view, std::string_view> pairOf(std::string_view text, const char* what) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) {
        throw std::invalid_argument(std::string(what) + " " + quoted(text) + " has no ':'");
    }
    return {text.substr(0, colon), text.substr(colon + 1)};
}

std::int32_t blockLength(std::string_view text) {
    const auto frames = parseNumber<std::int64_t>(text);
    if (!frames || *frames < 1 || *frames > kMaxBlockSize) {
        throw std::invalid_argument("a block is 1 to " + std::to_string(kMaxBlockSize) + " frames, not " +
                                    quoted(text));
    }
    return static_cast<std::int32_t>(*frames);
}

}  // namespace

pluginhost::TempoMap parseTempo(std::string_view text) {
    const std::vector<std::string_view> items = split(text, ',');
    double first = 0.0;
    double previous = -INFINITY;
    std::vector<pluginhost::TempoChange> changes;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const bool positioned = items[i].find(':') != std::string_view::npos;
        if (!positioned && i > 0) {
            throw std::invalid_argument("a tempo change is POSITION:TEMPO, not " + quoted(items[i]));
        }
        const auto [positionText, tempoText] =
            positioned ? pairOf(items[i], "the tempo change") : std::pair{std::string_view(), items[i]};
        const double tempo = tempoValue(tempoText);
        if (positioned) {
            const double position = finiteNumber(positionText, "the tempo change's position");
            if (!(position > previous)) {
                throw std::invalid_argument("tempo changes out of order: " + quoted(items[i]) + " comes after " +
                                            quoted(items[i - 1]));
            }
            previous = position;
            if (i > 0) changes.push_back({position, tempo});
        }
        if (i == 0) first = tempo;
    }
    return pluginhost::TempoMap(first, std::move(changes));
}

pluginhost::LoopRange parseLoop(std::string_view text) {
    const auto [startText, endText] = pairOf(text, "the loop");
    pluginhost::LoopRange loop;
    loop.start = finiteNumber(startText, "the loop's start");
    loop.end = finiteNumber(endText, "the loop's end");
    if (!(loop.end > loop.start)) {
        throw std::invalid_argument("the loop " + quoted(text) + " does not end after it starts");
    }
    return loop;
}

pluginhost::BlockSizer BlockSizes::sizer() const {
    if (seed) return pluginhost::randomBlocks(smallest, largest, *seed);
    return pluginhost::fixedBlocks(largest);
}

BlockSizes parseBlockSizes(std::string_view text) {
    constexpr std::string_view kRandom = "random:";
    if (!text.starts_with(kRandom)) {
        const std::int32_t frames = blockLength(text);
        return {frames, frames, std::nullopt};
    }
    const std::vector<std::string_view> parts = split(text.substr(kRandom.size()), ':');
    const auto dash = parts.front().find('-');
    if (parts.size() != 2 || dash == std::string_view::npos) {
        throw std::invalid_argument("varying blocks are random:MIN-MAX:SEED, not " + quoted(text));
    }
    BlockSizes sizes{blockLength(parts[0].substr(0, dash)), blockLength(parts[0].substr(dash + 1)), std::nullopt};
    if (sizes.smallest > sizes.largest) {
        throw std::invalid_argument("the smallest block comes first in " + quoted(text));
    }
    sizes.seed = parseNumber<std::uint64_t>(parts[1]);
    if (!sizes.seed) throw std::invalid_argument("the seed is a whole number from 0, not " + quoted(parts[1]));
    return sizes;
}

AutomationText parseAutomation(std::string_view text) {
    const auto equals = text.find('=');
    if (equals == std::string_view::npos || trimmed(text.substr(0, equals)).empty()) {
        throw std::invalid_argument("automation is NAME=POS:VALUE,POS:VALUE,..., not " + quoted(text));
    }
    AutomationText automation{std::string(trimmed(text.substr(0, equals))), {}};
    for (const std::string_view point : split(text.substr(equals + 1), ',')) {
        const auto [positionText, value] = pairOf(point, "the automation point");
        const double position = finiteNumber(positionText, "the automation point's position");
        if (position < 0.0) throw std::invalid_argument("the automation point " + quoted(point) + " lies before 0");
        if (!automation.points.empty() && position < automation.points.back().first) {
            throw std::invalid_argument("automation points out of order: " + quoted(point) +
                                        " comes after a later one");
        }
        if (trimmed(value).empty()) {
            throw std::invalid_argument("the automation point " + quoted(point) + " has no value");
        }
        automation.points.emplace_back(position, std::string(trimmed(value)));
    }
    return automation;
}

void requireConsistent(const TransportOptions& transport) {
    if (transport.loop && transport.loop->start < transport.start) {
        throw std::invalid_argument("--loop: the loop starts at " + pluginhost::exactText(transport.loop->start) +
                                    ", before the render starts at " + pluginhost::exactText(transport.start) +
                                    "; there is no input there to play again");
    }
}

}  // namespace slicecastcli
