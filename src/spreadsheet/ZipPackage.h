#pragma once

#include <list>
#include <string>

struct zip;
struct zip_source;

namespace kt41::spreadsheet {

// An Office Open XML package (a zip archive) held in memory: its parts are
// read, replaced, added or removed by name, and Save gives the archive with
// the changes. Parts that are not changed keep their compressed bytes.
class ZipPackage {
public:
    // Throws WorkbookError when bytes are not a zip archive.
    explicit ZipPackage(const std::string& bytes);
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    bool Has(const std::string& part) const;
    // Throws WorkbookError when the part is missing or cannot be read.
    std::string Read(const std::string& part) const;
    // Replaces the part, or adds it when missing.
    void Write(const std::string& part, std::string content);
    void Remove(const std::string& part);

    // The archive with every change; the package cannot be used afterwards.
    std::string Save();

private:
    std::list<std::string> written_; // buffers libzip reads when it saves
    zip_source* source_ = nullptr;
    zip* archive_ = nullptr;
};

} // namespace kt41::spreadsheet
