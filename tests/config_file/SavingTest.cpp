#include "ConfigFileFixture.h"

#include <csignal>
#include <sys/resource.h>

using namespace kt41::device;
using kt41::config_file::LoadFromFile;
using kt41::config_file::SaveToFile;
namespace fs = std::filesystem;

namespace {

// Makes every write beyond `bytes` fail for the life of the object, the way a
// full disk or quota does. Works for root too, unlike file permissions.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace

class Saving : public kt41::testing::ConfigFileTest {
protected:
    std::vector<std::string> FilesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(Saving, OverwritingLeavesNoBackupBehind) {
    const std::string path = PathOf("R50_№ 00042.c50");
    WriteText(path, "previous content");
    model.Contour1.Tnorm = 61;
    ASSERT_TRUE(SaveToFile(model, path));
    EXPECT_EQ(FilesInDir(), std::vector<std::string>{"R50_№ 00042.c50"});
    TKT41 loaded{driver};
    ASSERT_TRUE(LoadFromFile(loaded, path));
    EXPECT_EQ(loaded.Contour1.Tnorm, 61);
}

TEST_F(Saving, FailedWriteRestoresThePreviousFile) {
    const std::string path = PathOf("R50_№ 00042.c50");
    const std::string previous(4000, 'p');
    WriteText(path, previous);
    // An older backup of that name is replaced by the move, as the backup rule says.
    WriteText(PathOf("R50_№ 00042.bak"), "older backup");
    {
        const FileSizeLimit limit(4096); // the new document is several times larger
        EXPECT_FALSE(SaveToFile(model, path));
    }
    EXPECT_EQ(ReadText(path), previous);
    EXPECT_EQ(FilesInDir(), std::vector<std::string>{"R50_№ 00042.c50"});
    EXPECT_TRUE(sink.Messages.empty());
}

TEST_F(Saving, FailedWriteWithoutPreviousFileLeavesNothing) {
    {
        const FileSizeLimit limit(100);
        EXPECT_FALSE(SaveToFile(model, PathOf("new.c50")));
    }
    EXPECT_TRUE(FilesInDir().empty());
}

TEST_F(Saving, UnwritableTargets) {
    EXPECT_FALSE(SaveToFile(model, PathOf("no such folder/x.c50")));
    // A folder in the way is neither moved nor removed.
    fs::create_directory(dir / "folder.c50");
    WriteText(PathOf("folder.c50/inside.txt"), "kept");
    EXPECT_FALSE(SaveToFile(model, PathOf("folder.c50")));
    EXPECT_EQ(ReadText(PathOf("folder.c50/inside.txt")), "kept");
    EXPECT_EQ(FilesInDir(), std::vector<std::string>{"folder.c50"});
    // A folder where the backup would go: the previous file cannot be backed
    // up, so it is left as it is.
    const std::string path = PathOf("blocked.c50");
    WriteText(path, "previous");
    fs::create_directory(dir / "blocked.bak");
    WriteText(PathOf("blocked.bak/inside.txt"), "kept");
    EXPECT_FALSE(SaveToFile(model, path));
    EXPECT_EQ(ReadText(path), "previous");
    EXPECT_EQ(ReadText(PathOf("blocked.bak/inside.txt")), "kept");
}

// A target named *.bak would be its own backup: the backup step would remove
// the file just saved.
TEST_F(Saving, TargetWithTheBackupExtensionSurvives) {
    for (const std::string name : {"config.bak", "CONFIG.BAK"}) {
        const std::string path = PathOf(name);
        WriteText(path, "previous");
        model.Contour2.Cycle = 99;
        ASSERT_TRUE(SaveToFile(model, path)) << name;
        TKT41 loaded{driver};
        ASSERT_TRUE(LoadFromFile(loaded, path)) << name;
        EXPECT_EQ(loaded.Contour2.Cycle, 99);
        fs::remove(path);
    }
    EXPECT_TRUE(FilesInDir().empty());
}

// Only the backup made by this save is removed; a file of that name that the
// save did not create is not the save's to delete.
TEST_F(Saving, ForeignBackupFileIsKeptWhenNothingWasMoved) {
    WriteText(PathOf("R50_№ 00007.bak"), "somebody's file");
    ASSERT_TRUE(SaveToFile(model, PathOf("R50_№ 00007.c50")));
    EXPECT_EQ(ReadText(PathOf("R50_№ 00007.bak")), "somebody's file");
}
