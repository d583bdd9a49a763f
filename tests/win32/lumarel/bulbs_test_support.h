// Shared by the bulb tests under Wine: small GIFs made on the spot, a
// scratch folder, and file helpers.
#pragma once
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/failure.h"

namespace bulbtest {

// The code a call failed with; 0 when it returned.
inline int32_t failureCode(const std::function<void()>& call) {
    try {
        call();
    } catch (const lumarel::Failure& f) {
        return f.code;
    }
    return 0;
}

// The named check (of a parser's fault enum) a call failed, or nothing when
// it returned; a failure of another kind passes on to the test.
template <typename Fault>
std::optional<Fault> faultOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const lumarel::NamedFailure<Fault>& f) {
        return f.fault;
    }
    return std::nullopt;
}

// A GIF of `frames` frames of width × height over a 4-colour palette
// (black, red, green, blue), pixel (x, y) of frame f being
// pixel(f, x, y); index 0 is transparent when `transparent`.
template <typename Pixel>
std::vector<uint8_t> makeGif(int width, int height, int frames, bool transparent, Pixel&& pixel) {
    std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a'};
    auto word = [&](int v) {
        g.push_back(static_cast<uint8_t>(v & 0xFF));
        g.push_back(static_cast<uint8_t>(v >> 8));
    };
    word(width);
    word(height);
    g.insert(g.end(), {0x81, 0, 0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255});
    for (int f = 0; f < frames; ++f) {
        g.insert(g.end(), {0x21, 0xF9, 4, static_cast<uint8_t>((1 << 2) | (transparent ? 1 : 0)), 10, 0, 0, 0});
        g.push_back(0x2C);
        word(0);
        word(0);
        word(width);
        word(height);
        g.push_back(0);
        // Codes of 3 bits, with a clear code before the table would grow.
        g.push_back(2);
        std::vector<uint8_t> bytes;
        uint32_t acc = 0;
        int bits = 0, sinceClear = 0;
        auto emit = [&](int code) {
            acc |= static_cast<uint32_t>(code) << bits;
            bits += 3;
            while (bits >= 8) {
                bytes.push_back(static_cast<uint8_t>(acc));
                acc >>= 8;
                bits -= 8;
            }
        };
        emit(4);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (sinceClear == 2) {
                    emit(4);
                    sinceClear = 0;
                }
                emit(pixel(f, x, y) & 3);
                ++sinceClear;
            }
        emit(5);
        if (bits) bytes.push_back(static_cast<uint8_t>(acc));
        for (size_t at = 0; at < bytes.size(); at += 255) {
            size_t n = std::min<size_t>(255, bytes.size() - at);
            g.push_back(static_cast<uint8_t>(n));
            g.insert(g.end(), bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + n));
        }
        g.push_back(0);
    }
    g.push_back(0x3B);
    return g;
}

inline void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A fresh, empty folder under the temporary folder; ends with a backslash.
inline std::string scratchFolder(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "lumarel-" + name + "-" + std::to_string(GetCurrentProcessId()) + "\\";
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string file = folder + found.cFileName;
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

}  // namespace bulbtest
