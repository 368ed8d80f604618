#include "ChildProcess.h"
#include "ConfigFileFixture.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

using namespace kt41::device;
using kt41::config_file::IgnoreFileSizeSignal;
using kt41::config_file::LoadFromFile;
using kt41::config_file::SaveToFile;
using kt41::testing::ChildEnd;
using kt41::testing::RunInChild;
namespace fs = std::filesystem;

class Saving : public kt41::testing::ConfigFileTest {
protected:
    std::vector<std::string> FilesInDir() const { return FilesIn(dir); }
    static std::vector<std::string> FilesIn(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // The document SaveToFile writes for the model, saved aside.
    std::string DocumentOf(const TKT41& m) {
        const fs::path aside = dir / "aside";
        fs::create_directory(aside);
        EXPECT_TRUE(SaveToFile(m, (aside / "doc.c50").string()));
        const std::string text = ReadText((aside / "doc.c50").string());
        fs::remove_all(aside);
        return text;
    }

    static mode_t ModeOf(const std::string& path) {
        struct stat st {};
        stat(path.c_str(), &st);
        return st.st_mode & 07777;
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

// The save is killed just before each of its system calls in turn. Whenever it
// dies, the target is the complete previous file (or absent, when there was
// none) or the complete new one, and whatever it left behind cannot be taken
// for a configuration file.
TEST_F(Saving, AKilledSaveLeavesTheOldOrTheNewFile) {
    FillRandomly(model, 11);
    const std::string document = DocumentOf(model);
    const std::string previous = "<?xml version=\"1.0\"?><Config_KT-41/>";
    const std::string name = "R50_№ 00042.c50";
    const std::string path = PathOf(name);
    for (const bool hadPrevious : {true, false}) {
        SCOPED_TRACE(hadPrevious ? "over a previous file" : "a new file");
        bool sawPrevious = false, sawNew = false;
        for (int killAt = 1;; ++killAt) {
            SCOPED_TRACE("killed at system call " + std::to_string(killAt));
            fs::remove(path);
            if (hadPrevious) {
                WriteText(path, previous);
            }
            const ChildEnd end =
                RunInChild([&](std::string&) { return SaveToFile(model, path) ? 0 : 1; }, killAt);
            if (!end.Traced) {
                GTEST_SKIP() << "this system does not let a test trace its child";
            }
            std::error_code ec;
            if (!fs::exists(path, ec)) {
                EXPECT_FALSE(hadPrevious) << "the previous file is gone";
            } else {
                const std::string now = ReadText(path);
                EXPECT_TRUE(now == document || (hadPrevious && now == previous))
                    << "a damaged file of " << now.size() << " bytes";
                (now == document ? sawNew : sawPrevious) = true;
            }
            for (const std::string& other : FilesInDir()) {
                if (other != name) {
                    EXPECT_EQ(fs::path(other).extension().string(), ".tmp") << other;
                    EXPECT_EQ(other.front(), '.') << other;
                    fs::remove(dir / other);
                }
            }
            if (HasFailure()) {
                return;
            }
            if (end.Exited) {
                ASSERT_EQ(end.ExitStatus, 0) << "the save ran to its end and failed";
                EXPECT_EQ(ReadText(path), document);
                break;
            }
            ASSERT_EQ(end.Signal, SIGKILL);
        }
        EXPECT_TRUE(sawNew);
        EXPECT_EQ(sawPrevious, hadPrevious);
    }
}

// A disk that fills up while the document is written (the file-size limit
// stands in for it): the save fails with the reason, the previous file stays
// and no temporary file is left. Without the signal ignored the kernel ends
// the process instead, and the previous file is still there.
TEST_F(Saving, AFullDiskKeepsThePreviousFileAndSaysWhy) {
    const std::string path = PathOf("R50_№ 00042.c50");
    const std::string previous(4000, 'p'); // the new document is several times larger
    struct Case {
        const char* Name;
        bool HadPrevious;
        bool IgnoreSignal;
    };
    for (const Case c : {Case{"over a previous file", true, true}, Case{"a new file", false, true},
                         Case{"signal not ignored", true, false}}) {
        SCOPED_TRACE(c.Name);
        fs::remove(path);
        if (c.HadPrevious) {
            WriteText(path, previous);
        }
        const ChildEnd end = RunInChild([&](std::string& why) {
            if (c.IgnoreSignal) {
                IgnoreFileSizeSignal();
            }
            const rlimit limit{4096, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &limit);
            return SaveToFile(model, path, &why) ? 0 : 1;
        });
        if (c.IgnoreSignal) {
            EXPECT_TRUE(end.Exited);
            EXPECT_EQ(end.ExitStatus, 1);
            EXPECT_EQ(end.Report, "файл больше допустимого размера");
        } else {
            EXPECT_EQ(end.Signal, SIGXFSZ);
        }
        if (c.HadPrevious) {
            EXPECT_EQ(ReadText(path), previous);
            EXPECT_EQ(FilesInDir().size(),
                      c.IgnoreSignal ? 1u : 2u); // a killed save leaves its .tmp
        } else {
            EXPECT_TRUE(FilesInDir().empty());
        }
        for (const std::string& other : FilesInDir()) {
            fs::remove(dir / other);
        }
    }
    EXPECT_TRUE(sink.Messages.empty());
}

TEST_F(Saving, UnwritableTargetsAreRefusedWithTheReason) {
    std::string why;
    EXPECT_FALSE(SaveToFile(model, PathOf("no such folder/x.c50"), &why));
    EXPECT_EQ(why, "нет такой папки");

    // A folder in the way is neither replaced nor changed.
    fs::create_directory(dir / "folder.c50");
    WriteText(PathOf("folder.c50/inside.txt"), "kept");
    EXPECT_FALSE(SaveToFile(model, PathOf("folder.c50"), &why));
    EXPECT_EQ(why, "это папка, а не файл");
    EXPECT_EQ(ReadText(PathOf("folder.c50/inside.txt")), "kept");

    // Nor is a named pipe.
    ASSERT_EQ(mkfifo(PathOf("pipe.c50").c_str(), 0600), 0);
    EXPECT_FALSE(SaveToFile(model, PathOf("pipe.c50"), &why));
    EXPECT_EQ(why, "это не обычный файл");
    EXPECT_TRUE(fs::is_fifo(dir / "pipe.c50"));

    // Two links that point at each other.
    fs::create_symlink("b.c50", dir / "a.c50");
    fs::create_symlink("a.c50", dir / "b.c50");
    EXPECT_FALSE(SaveToFile(model, PathOf("a.c50"), &why));
    EXPECT_EQ(why, "слишком много ссылок по пути к файлу");
    EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"a.c50", "b.c50", "folder.c50", "pipe.c50"}));
}

// A read-only file, and a file in a folder the user may not write, stay as
// they are. Root may write anything, so the saves run as an ordinary user.
TEST_F(Saving, WithoutPermissionThePreviousFileStays) {
    using fs::perms;
    const std::string readOnly = PathOf("read-only.c50");
    const std::string inClosed = PathOf("closed/config.c50");
    fs::create_directory(dir / "closed");
    WriteText(readOnly, "previous");
    WriteText(inClosed, "previous");
    fs::permissions(dir, perms::all);
    fs::permissions(readOnly, perms::owner_read | perms::group_read | perms::others_read);
    fs::permissions(inClosed, perms::all);
    fs::permissions(dir / "closed", perms::owner_read | perms::owner_exec | perms::group_read |
                                        perms::group_exec | perms::others_read |
                                        perms::others_exec);
    for (const std::string& path : {readOnly, inClosed}) {
        SCOPED_TRACE(path);
        const ChildEnd end = RunInChild([&](std::string& why) {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
                why = "could not give up root";
                return 2;
            }
            return SaveToFile(model, path, &why) ? 0 : 1;
        });
        EXPECT_TRUE(end.Exited);
        EXPECT_EQ(end.ExitStatus, 1);
        EXPECT_EQ(end.Report, "нет прав на запись");
        EXPECT_EQ(ReadText(path), "previous");
    }
    EXPECT_EQ(FilesIn(dir / "closed"), std::vector<std::string>{"config.c50"});
    fs::permissions(dir / "closed", perms::owner_all); // so that the folder can be removed
}

TEST_F(Saving, AnExistingFileKeepsItsPermissionsAndANewOneFollowsTheUmask) {
    const std::string path = PathOf("shared.c50");
    WriteText(path, "previous");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(SaveToFile(model, path));
    EXPECT_EQ(ModeOf(path), 0640u);

    const mode_t umaskBefore = umask(027);
    const bool saved = SaveToFile(model, PathOf("new.c50"));
    umask(umaskBefore);
    ASSERT_TRUE(saved);
    EXPECT_EQ(ModeOf(PathOf("new.c50")), 0640u);
}

// Saving through a symbolic link replaces the file it points to and keeps the
// link; a link to a file not yet made creates that file.
TEST_F(Saving, ASymbolicLinkKeepsPointingToTheSavedFile) {
    fs::create_directory(dir / "real");
    const std::string real = PathOf("real/R50_№ 00042.c50");
    WriteText(real, "previous");
    fs::create_symlink("real/R50_№ 00042.c50", dir / "link.c50");
    fs::create_symlink("link.c50", dir / "link-to-link.c50");
    fs::create_symlink(dir / "real" / "later.c50", dir / "dangling.c50");
    model.Contour4.Cycle = 77;
    for (const char* name : {"link.c50", "link-to-link.c50", "dangling.c50"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(SaveToFile(model, PathOf(name)));
        EXPECT_TRUE(fs::is_symlink(dir / name));
        TKT41 loaded{driver};
        ASSERT_TRUE(LoadFromFile(loaded, PathOf(name)));
        EXPECT_EQ(loaded.Contour4.Cycle, 77);
    }
    EXPECT_EQ(ReadText(real), ReadText(PathOf("real/later.c50")));
    EXPECT_EQ(FilesIn(dir / "real"), (std::vector<std::string>{"R50_№ 00042.c50", "later.c50"}));
}

// A target named *.bak is saved like any other.
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

// No backup is made, so a file or folder of the user's where a backup would
// have gone is never touched and never stands in the way.
TEST_F(Saving, FilesBesideTheTargetAreNeverTouched) {
    WriteText(PathOf("R50_№ 00007.c50"), "previous");
    WriteText(PathOf("R50_№ 00007.bak"), "somebody's file");
    fs::create_directory(dir / "blocked.bak");
    WriteText(PathOf("blocked.c50"), "previous");
    ASSERT_TRUE(SaveToFile(model, PathOf("R50_№ 00007.c50")));
    ASSERT_TRUE(SaveToFile(model, PathOf("blocked.c50")));
    EXPECT_EQ(ReadText(PathOf("R50_№ 00007.bak")), "somebody's file");
    EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"R50_№ 00007.bak", "R50_№ 00007.c50",
                                                      "blocked.bak", "blocked.c50"}));
}
