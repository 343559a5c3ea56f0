#pragma once
// What the robustness tests share: scratch directories, whole-file reads and writes, and
// waiting for a child process with a deadline.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace aiuti {

namespace fs = std::filesystem;

// A fresh directory under `base` (the system's temporary one by default), removed with
// everything in it.
class CartellaProva {
public:
    explicit CartellaProva(const fs::path& base = fs::temp_directory_path()) {
        std::string modello = (base / "cifrolandia-robusto-XXXXXX").string();
        if (::mkdtemp(modello.data()) == nullptr) {
            throw std::runtime_error(std::strerror(errno));
        }
        percorso_ = modello;
    }
    ~CartellaProva() {
        std::error_code ignorato;
        fs::remove_all(percorso_, ignorato);
    }
    CartellaProva(const CartellaProva&) = delete;
    CartellaProva& operator=(const CartellaProva&) = delete;
    fs::path operator/(const std::string& nome) const { return percorso_ / nome; }
    const fs::path& percorso() const { return percorso_; }
    std::string str() const { return percorso_.string(); }

private:
    fs::path percorso_;
};

inline std::string leggi(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void scrivi(const fs::path& file, const std::string& byte) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << byte;
}

inline std::vector<std::string> elenco(const fs::path& cartella) {
    std::vector<std::string> nomi;
    for (const fs::directory_entry& voce : fs::directory_iterator(cartella)) {
        nomi.push_back(voce.path().filename().string());
    }
    std::sort(nomi.begin(), nomi.end());
    return nomi;
}

inline const std::vector<std::string> kSoloRecord = {"nrom.txt", "prom.txt"};

// The status of a child that ends within `limite`; nothing when it is still running then.
inline std::optional<int> finitoEntro(pid_t pid, std::chrono::milliseconds limite) {
    const auto scadenza = std::chrono::steady_clock::now() + limite;
    for (;;) {
        int stato = 0;
        const pid_t finito = ::waitpid(pid, &stato, WNOHANG);
        if (finito == pid) {
            return stato;
        }
        if (finito < 0 && errno != EINTR) {
            return -1;
        }
        if (std::chrono::steady_clock::now() >= scadenza) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// The status of a child, waited for at most `limite`; one still running then is killed and
// -1 returned, so that a hang fails the test instead of blocking it.
inline int attendiEntro(pid_t pid, std::chrono::milliseconds limite) {
    if (const std::optional<int> stato = finitoEntro(pid, limite)) {
        return *stato;
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
}

} // namespace aiuti
