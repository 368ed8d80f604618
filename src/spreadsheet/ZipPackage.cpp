#include "ZipPackage.h"
#include "WorkbookError.h"

#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kt41::spreadsheet {

namespace {

const std::string kNotAPackage = "шаблон не является книгой Office Open XML (не архив zip)";

std::string ErrorText(zip_error_t* error) {
    std::string text = zip_error_strerror(error);
    zip_error_fini(error);
    return text;
}

} // namespace

ZipPackage::ZipPackage(const std::string& bytes) {
    zip_error_t error;
    zip_error_init(&error);
    // The source owns its buffer: saving replaces it with the new archive and
    // frees the old one with free().
    void* buffer = std::malloc(std::max<std::size_t>(bytes.size(), 1));
    if (buffer == nullptr) {
        throw WorkbookError(kNotAPackage);
    }
    std::memcpy(buffer, bytes.data(), bytes.size());
    source_ = zip_source_buffer_create(buffer, bytes.size(), 1, &error);
    if (source_ == nullptr) {
        std::free(buffer);
        throw WorkbookError(kNotAPackage + ": " + ErrorText(&error));
    }
    archive_ = zip_open_from_source(source_, ZIP_CHECKCONS, &error);
    if (archive_ == nullptr) {
        zip_source_free(source_);
        source_ = nullptr;
        zip_error_fini(&error);
        throw WorkbookError(kNotAPackage);
    }
    zip_error_fini(&error);
    // The source outlives the archive: after zip_close it holds the new bytes.
    zip_source_keep(source_);
}

ZipPackage::~ZipPackage() {
    if (archive_ != nullptr) {
        zip_discard(archive_);
    }
    if (source_ != nullptr) {
        zip_source_free(source_);
    }
}

bool ZipPackage::Has(const std::string& part) const {
    return zip_name_locate(archive_, part.c_str(), 0) >= 0;
}

std::string ZipPackage::Read(const std::string& part) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive_, part.c_str(), 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) {
        throw WorkbookError("в шаблоне нет части " + part);
    }
    zip_file_t* file = zip_fopen(archive_, part.c_str(), 0);
    if (file == nullptr) {
        throw WorkbookError("часть " + part + " шаблона не читается");
    }
    std::string content(stat.size, '\0');
    const zip_int64_t read = zip_fread(file, content.data(), content.size());
    zip_fclose(file);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) {
        throw WorkbookError("часть " + part + " шаблона повреждена");
    }
    return content;
}

void ZipPackage::Write(const std::string& part, std::string content) {
    const std::string& buffer = written_.emplace_back(std::move(content));
    zip_source_t* source = zip_source_buffer(archive_, buffer.data(), buffer.size(), 0);
    if (source == nullptr ||
        zip_file_add(archive_, part.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
        if (source != nullptr) {
            zip_source_free(source);
        }
        throw WorkbookError("часть " + part + " не записана: " + zip_strerror(archive_));
    }
}

void ZipPackage::Remove(const std::string& part) {
    const zip_int64_t index = zip_name_locate(archive_, part.c_str(), 0);
    if (index >= 0) {
        zip_delete(archive_, static_cast<zip_uint64_t>(index));
    }
}

std::string ZipPackage::Save() {
    if (zip_close(archive_) != 0) {
        const std::string why = zip_strerror(archive_);
        zip_discard(archive_);
        archive_ = nullptr;
        throw WorkbookError("книга не собрана: " + why);
    }
    archive_ = nullptr;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(source_, &stat) != 0 || zip_source_open(source_) != 0) {
        throw WorkbookError("книга не собрана");
    }
    std::string bytes(stat.size, '\0');
    const zip_int64_t read = zip_source_read(source_, bytes.data(), bytes.size());
    zip_source_close(source_);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) {
        throw WorkbookError("книга не собрана");
    }
    return bytes;
}

} // namespace kt41::spreadsheet
