// Helpers shared by the tests: a private folder for the files a test writes, and whole-file I/O.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessora::proves {

// A new folder under the system's temporary folder; removed with everything in it.
class CarpetaTemporal {
public:
    CarpetaTemporal() {
        std::random_device llavor;
        for (int intent = 0; intent < 100; ++intent) {
            const auto cami = std::filesystem::temp_directory_path() /
                              ("tessora-proves-" + std::to_string(llavor()) + "-" + std::to_string(llavor()));
            if (std::filesystem::create_directory(cami)) {
                Cami_ = cami;
                return;
            }
        }
        throw std::runtime_error("no temporary folder could be created");
    }
    CarpetaTemporal(const CarpetaTemporal&) = delete;
    CarpetaTemporal& operator=(const CarpetaTemporal&) = delete;
    ~CarpetaTemporal() {
        std::error_code error;
        std::filesystem::permissions(Cami_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(Cami_, error);
    }

    const std::filesystem::path& Cami() const { return Cami_; }

    // Names of the entries in the folder, sorted.
    std::vector<std::string> Contingut() const {
        std::vector<std::string> noms;
        for (const auto& entrada : std::filesystem::directory_iterator(Cami_))
            noms.push_back(entrada.path().filename().string());
        std::sort(noms.begin(), noms.end());
        return noms;
    }

private:
    std::filesystem::path Cami_;
};

inline std::vector<std::uint8_t> LlegirBytes(const std::filesystem::path& cami) {
    std::ifstream entrada(cami, std::ios::binary);
    return {std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>()};
}

inline void EscriureBytes(const std::filesystem::path& cami, const std::vector<std::uint8_t>& bytes) {
    std::ofstream sortida(cami, std::ios::binary | std::ios::trunc);
    sortida.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace tessora::proves
