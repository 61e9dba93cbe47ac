#include "desktop/core/ColumnMapEntry.h"

namespace wexal::desktop {
namespace {

constexpr std::string_view kChoiceTexts[kOffsetChoiceCount] = {
    "[None]",     "Usage Col/0", "1 Right/+1", "1 Left/-1", "2 Right/+2", "2 Left/-2",
    "3 Right/+3", "3 Left/-3",   "4 Right/+4", "4 Left/-4", "5 Right/+5", "5 Left/-5",
    "6 Right/+6", "6 Left/-6",   "7 Right/+7", "7 Left/-7",
};

constexpr OffsetChoice Split(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) {
        return {text, text, {}};
    }
    return {text, text.substr(0, slash), text.substr(slash + 1)};
}

constexpr std::array<OffsetChoice, kOffsetChoiceCount> BuildChoices() {
    std::array<OffsetChoice, kOffsetChoiceCount> choices{};
    for (std::size_t i = 0; i < kOffsetChoiceCount; ++i) {
        choices[i] = Split(kChoiceTexts[i]);
    }
    return choices;
}

constexpr std::array<OffsetChoice, kOffsetChoiceCount> kChoices = BuildChoices();

}  // namespace

const std::array<OffsetChoice, kOffsetChoiceCount>& OffsetChoices() {
    return kChoices;
}

int OffsetChoiceOf(std::string_view value) {
    for (std::size_t i = 0; i < kChoices.size(); ++i) {
        if (kChoices[i].Value == value) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string LookupMapField(const MapSlots& map, std::string_view field) {
    for (const std::string& entry : map) {
        if (std::string_view(entry).starts_with(field)) {
            const std::size_t valueAt = field.size() + 1;
            return valueAt < entry.size() ? entry.substr(valueAt) : std::string();
        }
    }
    return {};
}

int ColumnItemOf(std::string_view value) {
    if (value.empty() || value.front() < 'A' || value.front() > 'Z') {
        return 0;
    }
    return value.front() - 'A' + 1;
}

std::string ColumnOfItem(int item) {
    if (item < 1 || item > 26) {
        return {};
    }
    return std::string(1, static_cast<char>('A' + item - 1));
}

std::string MapEntry(std::string_view field, std::string_view value) {
    return std::string(field) + "/" + std::string(value);
}

}  // namespace wexal::desktop
