// Scratch folders for tests that read and write database files on disk.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

// A scratch folder, removed with the test.
struct TScratch {
    std::filesystem::path Root;
    // Tests run in parallel processes: the folder is one this process created itself, never one
    // another test made under the same name.
    TScratch() {
        namespace fs = std::filesystem;
        static std::random_device entropy;
        for (;;) {
            Root = fs::temp_directory_path() /
                   ("kordo-test-" + std::to_string(entropy()) + "-" + std::to_string(entropy()));
            if (fs::create_directory(Root))
                break;
        }
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

// A file's bytes; empty when it cannot be read.
inline std::string FileContents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
