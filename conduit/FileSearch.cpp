#include "conduit/FileSearch.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

char Folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// "*" and "?" wildcards, letters without case. The last "*" seen is the
// only one ever retried: matching stays linear in practice.
bool MatchesWildcards(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::string_view::npos;  // pattern position after the last "*"
    std::size_t starName = 0;                   // name position that "*" stretches to
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = ++p;
            starName = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || Folded(pattern[p]) == Folded(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

// Sorted as the platform lists a folder: without case, then by bytes.
bool ListedBefore(const std::string& a, const std::string& b) {
    const auto folded = [](unsigned char x, unsigned char y) {
        return Folded(static_cast<char>(x)) < Folded(static_cast<char>(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) {
        return true;
    }
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) {
        return false;
    }
    return a < b;
}

}  // namespace

bool MatchesFilePattern(std::string_view pattern, std::string_view name) {
    if (pattern.empty() || name.empty()) {
        return false;
    }
    if (MatchesWildcards(pattern, name)) {
        return true;
    }
    return pattern.ends_with(".*") && MatchesWildcards(pattern.substr(0, pattern.size() - 2), name);
}

std::optional<std::vector<std::string>> FindMatchingFiles(const std::string& folder,
                                                          std::string_view pattern,
                                                          std::vector<std::string>& notRegular) {
    std::vector<std::string> names;
    notRegular.clear();
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::string name = entry->path().filename().string();
        if (!MatchesFilePattern(pattern, name)) {
            continue;
        }
        // A folder or device is no route file, whatever its name.
        std::error_code typeError;
        if (entry->is_regular_file(typeError)) {
            names.push_back(std::move(name));
        } else if (!entry->is_directory(typeError)) {
            notRegular.push_back(std::move(name));
        }
    }
    // A listing cut short would leave files out unnoticed.
    if (error) {
        return std::nullopt;
    }
    SortAsListed(names);
    SortAsListed(notRegular);
    return names;
}

void SortAsListed(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), ListedBefore);
}
