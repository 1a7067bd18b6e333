#include "platform/PosixEnv.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "support/TempDir.h"

TEST(PosixEnv, FilesExistHaveSizesAndAreDeleted) {
    TempDir dir;
    Env* env = Env::Default();
    const std::string path = dir.write("FLUSSO.TXT", "12345");
    EXPECT_TRUE(env->fileExists(path));
    EXPECT_EQ(env->fileSize(path), 5);
    EXPECT_EQ(env->fileSize(dir.path()), -1);
    EXPECT_TRUE(env->deleteFile(path));
    EXPECT_FALSE(env->fileExists(path));
    EXPECT_EQ(env->fileSize(path), -1);
    EXPECT_FALSE(env->deleteFile(path));
}

TEST(PosixEnv, CopyRespectsFailIfExists) {
    TempDir dir;
    Env* env = Env::Default();
    const std::string from = dir.write("a", "nuovo");
    const std::string to = dir.write("b", "vecchio");
    EXPECT_FALSE(env->copyFile(from, to, true));
    EXPECT_EQ(readBytes(to), "vecchio");
    EXPECT_TRUE(env->copyFile(from, to, false));
    EXPECT_EQ(readBytes(to), "nuovo");
}

TEST(PosixEnv, DirectoriesAreCreatedOneLevelAtATime) {
    TempDir dir;
    Env* env = Env::Default();
    EXPECT_FALSE(env->createDirectory(dir.file("x/y")));
    EXPECT_TRUE(env->createDirectory(dir.file("x")));
    EXPECT_TRUE(env->createDirectory(dir.file("x")));  // already there
    EXPECT_TRUE(env->isDirectory(dir.file("x")));
    dir.write("x/Defdata.dat", "");
    EXPECT_EQ(env->listDirectory(dir.file("x")), std::vector<std::string>{"Defdata.dat"});
    EXPECT_TRUE(env->listDirectory(dir.file("missing")).empty());
}

TEST(PosixEnv, CodePageFileNamesBecomeUtf8OnDisk) {
    TempDir dir;
    Env* env = Env::Default();
    std::FILE* stream = env->openStream(dir.file("Città.txt"), "wb");
    ASSERT_NE(stream, nullptr);
    std::fclose(stream);
    EXPECT_TRUE(fileExists(dir.path() + "/Citt\xC3\xA0.txt"));
    EXPECT_EQ(env->listDirectory(dir.path()), std::vector<std::string>{"Città.txt"});
}

TEST(PosixEnv, ClockAndLoginLookReal) {
    const UtcTime now = Env::Default()->nowUtc();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_FALSE(Env::Default()->loginName().empty());
}
