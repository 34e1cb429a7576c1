// Scratch folders for tests that read and write database files on disk.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

// A scratch folder, removed with the test.
struct TScratch {
    std::filesystem::path Root;
    TScratch() {
        static int counter = 0;
        Root = std::filesystem::temp_directory_path() /
               ("kordo-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                std::to_string(reinterpret_cast<uintptr_t>(this)) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(Root);
    }
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;
    ~TScratch() {
        namespace fs = std::filesystem;
        std::error_code ignored;
        fs::permissions(Root, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (const auto& entry : fs::recursive_directory_iterator(Root, ignored))
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
        fs::remove_all(Root, ignored);
    }
    std::filesystem::path Folder(const std::string& name) const {
        std::filesystem::create_directories(Root / name);
        return Root / name;
    }
};
