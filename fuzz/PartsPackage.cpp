#include "fuzz/PartsPackage.h"

#include <zip.h>

namespace wexal::fuzz {

std::vector<Part> SplitParts(std::string_view text) {
    std::vector<Part> parts;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = text.find('\n', at);
        const std::string_view line =
            text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        const bool hasEnd = end != std::string_view::npos;
        if (line.starts_with(kPartMarker)) {
            parts.emplace_back(std::string(line.substr(kPartMarker.size())), std::string());
        } else if (!parts.empty()) {
            parts.back().second.append(line);
            if (hasEnd) {
                parts.back().second += '\n';
            }
        }
        if (!hasEnd) {
            break;
        }
        at = end + 1;
    }
    return parts;
}

std::string ZipParts(const std::vector<Part>& parts) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_error_fini(&error);
    if (target == nullptr) {
        return {};
    }
    zip_error_init(&error);
    zip_t* archive = zip_open_from_source(target, ZIP_CREATE | ZIP_TRUNCATE, &error);
    zip_error_fini(&error);
    if (archive == nullptr) {
        zip_source_free(target);
        return {};
    }
    // The target outlives the archive: the container is read from it.
    zip_source_keep(target);
    bool added = true;
    for (const auto& [name, bytes] : parts) {
        zip_source_t* data = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        const zip_int64_t index =
            data == nullptr ? -1 : zip_file_add(archive, name.c_str(), data, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(data);
            added = false;
            break;
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    std::string container;
    if (!added) {
        zip_discard(archive);
    } else if (zip_close(archive) < 0) {
        zip_discard(archive);
    } else if (zip_source_open(target) == 0) {
        char chunk[16 * 1024];
        zip_int64_t got = 0;
        while ((got = zip_source_read(target, chunk, sizeof chunk)) > 0) {
            container.append(chunk, static_cast<std::size_t>(got));
        }
        zip_source_close(target);
    }
    zip_source_free(target);
    return container;
}

}  // namespace wexal::fuzz
