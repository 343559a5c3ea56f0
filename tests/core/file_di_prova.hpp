#pragma once
// Files and child processes for the tests: a file's bytes, a scratch directory removed at the
// end, and a child waited for with a time limit.

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace prova {

inline std::string leggi(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes the file anew with these bytes, or with `inCoda` adds them at its end.
inline void scrivi(const std::filesystem::path& file, const std::string& byte,
                   bool inCoda = false) {
    std::ofstream(file, std::ios::binary | (inCoda ? std::ios::app : std::ios::trunc)) << byte;
}

// A child's wait status, waited for at most `limite`: a child still running then is killed and
// -1 returned, so that a hang fails the test instead of stalling it. With `fermo`, a child
// that stops counts too.
inline int attendi(pid_t pid, std::chrono::seconds limite = std::chrono::seconds(60),
                   bool fermo = false) {
    using Orologio = std::chrono::steady_clock;
    for (const auto fine = Orologio::now() + limite; Orologio::now() < fine;
         std::this_thread::sleep_for(std::chrono::milliseconds(2))) {
        int stato = 0;
        if (::waitpid(pid, &stato, WNOHANG | (fermo ? WUNTRACED : 0)) == pid) {
            return stato;
        }
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
}

// A new empty directory, removed with all it holds at the end.
struct CartellaTemporanea {
    ~CartellaTemporanea() { std::filesystem::remove_all(percorso); }
    std::string modello = "/tmp/cifrolandia-prova-XXXXXX";
    std::filesystem::path percorso = ::mkdtemp(modello.data());
};

} // namespace prova
