// Runs every benchmark of the game against the bare reference window, prints one table and
// exits with 1 when the game misses a target (2 when a benchmark itself could not run).
//
//   bench_run <cifrolandia> <bench_reference> <bench_inprocess>
//
// Run it on an X server of its own (make bench starts one with xvfb-run): it is an X client
// that starts the programs, watches their windows from outside and types into them.
//   - A window is "on screen" when the server reports it mapped (MapNotify on the root).
//   - A window is "painted" when the damage the program has drawn into it since it was created
//     (DAMAGE extension, raw rectangles) covers the whole window.
//   - Keys are typed through the XTEST extension, as xdotool types them.
// Memory and CPU time are read from /proc. The in-process figures and the clock come from
// bench_inprocess and bench_reference, which print them.
//
// BENCH_QUICK=1: fewer runs, a shorter idle and a shorter clock, for trying changes out; its
// table is not the one to quote. BENCH_VERBOSE=1 also prints every sample.

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Orologio = std::chrono::steady_clock;
using Istante = Orologio::time_point;

double msTra(Istante da, Istante a) {
    return std::chrono::duration<double, std::milli>(a - da).count();
}

std::vector<pid_t> avviati; // every program started and not yet waited for, ended on a failure

// Waits for a program started here, and forgets it.
int aspettaFine(pid_t pid) {
    int stato = 0;
    waitpid(pid, &stato, 0);
    avviati.erase(std::remove(avviati.begin(), avviati.end(), pid), avviati.end());
    return stato;
}

[[noreturn]] void fallisci(const std::string& perche) {
    std::fprintf(stderr, "bench_run: %s\n", perche.c_str());
    for (pid_t pid : avviati) {
        kill(pid, SIGTERM);
    }
    std::exit(2);
}

bool prolisso() {
    const char* v = std::getenv("BENCH_VERBOSE");
    return v && *v && std::strcmp(v, "0") != 0;
}

// ---------------------------------------------------------------------------------------------
// Processes

pid_t corrente = 0; // the program under test; waits stop at once when it dies

pid_t avvia(const std::vector<std::string>& argomenti, const std::vector<std::string>& ambiente,
            int uscita, int errori) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0) { // the X server of this run
            env.emplace_back(*e);
        }
    }
    env.insert(env.end(), ambiente.begin(), ambiente.end());
    std::vector<char*> argv, envp;
    for (const auto& a : argomenti) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    for (auto& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_adddup2(&azioni, uscita, 1);
    posix_spawn_file_actions_adddup2(&azioni, errori, 2);
    pid_t pid = 0;
    const int e = posix_spawn(&pid, argv[0], &azioni, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&azioni);
    if (e != 0) {
        fallisci("cannot start " + argomenti[0] + ": " + std::strerror(e));
    }
    avviati.push_back(pid);
    return pid;
}

void ferma(pid_t pid) {
    kill(pid, SIGTERM);
    aspettaFine(pid);
    if (pid == corrente) {
        corrente = 0;
    }
}

bool vivo(pid_t pid) {
    int stato = 0;
    if (waitpid(pid, &stato, WNOHANG) == 0) {
        return true;
    }
    avviati.erase(std::remove(avviati.begin(), avviati.end(), pid), avviati.end());
    return false;
}

// Peak resident memory, in MiB.
double vmhwm(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string riga;
    while (std::getline(status, riga)) {
        if (riga.rfind("VmHWM:", 0) == 0) {
            return std::stod(riga.substr(6)) / 1024.0;
        }
    }
    fallisci("no VmHWM for process " + std::to_string(pid));
}

// CPU time (user and system) of every thread of the process, in ms, and the number of times
// its threads were put on a CPU (each wake-up at least once), from the kernel's nanosecond
// accounting (/proc/<pid>/task/<tid>/schedstat); /proc/<pid>/stat gives the same time in ticks
// of 10 ms, too coarse for an idle program.
struct Cpu {
    double ms = 0;
    double volte = 0;
};

Cpu cpu(pid_t pid) {
    Cpu c;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
        std::ifstream f(task.path() / "schedstat");
        double tempo = 0, attesa = 0, volte = 0;
        if (f >> tempo >> attesa >> volte) {
            c.ms += tempo / 1e6;
            c.volte += volte;
        }
    }
    return c;
}

std::string cartellaTemporanea() {
    std::string modello = (std::filesystem::temp_directory_path() / "cifrolandia-bench-XXXXXX");
    if (!mkdtemp(modello.data())) {
        fallisci("cannot create a temporary directory");
    }
    return modello;
}

// ---------------------------------------------------------------------------------------------
// The X server, seen from outside

struct FinestraX {
    int larghezza = 0, altezza = 0;
    std::optional<Istante> mappa;
    // Damage since the last reset (or since the window was created).
    int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
    unsigned danni = 0;
    std::optional<Istante> coperta; // when that damage first covered the whole window
    bool sottoIlMenu = false;       // whether it covers the whole window below the menu bar

    void azzera() {
        x0 = y0 = INT_MAX;
        x1 = y1 = INT_MIN;
        danni = 0;
        coperta.reset();
        sottoIlMenu = false;
    }
};

class SchermoX {
public:
    SchermoX() {
        c_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c_)) {
            fallisci("no X display: run me under xvfb-run (make bench does)");
        }
        const xcb_setup_t* setup = xcb_get_setup(c_);
        radice_ = xcb_setup_roots_iterator(setup).data->root;
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c_, &xcb_damage_id);
        const xcb_query_extension_reply_t* test = xcb_get_extension_data(c_, &xcb_test_id);
        if (!damage || !damage->present || !test || !test->present) {
            fallisci("the X server lacks the DAMAGE or XTEST extension");
        }
        eventoDanno_ = damage->first_event + XCB_DAMAGE_NOTIFY;
        std::free(xcb_damage_query_version_reply(c_, xcb_damage_query_version(c_, 1, 1), nullptr));
        const uint32_t maschera = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, radice_, XCB_CW_EVENT_MASK, &maschera);
        leggiTastiera(setup);
        xcb_flush(c_);
    }
    ~SchermoX() { xcb_disconnect(c_); }
    SchermoX(const SchermoX&) = delete;
    SchermoX& operator=(const SchermoX&) = delete;

    // A new program: forget the windows mapped so far.
    void nuovaSessione() { mappate_.clear(); }
    std::size_t mappate() const { return mappate_.size(); }
    xcb_window_t mappata(std::size_t i) const { return mappate_.at(i); }
    FinestraX& finestra(xcb_window_t w) { return finestre_[w]; }

    // Handles events until `vero` holds or `secondi` have passed; `passo` bounds each wait,
    // for conditions that no event announces.
    bool attendi(const std::function<bool()>& vero, double secondi, double passo = 0.05) {
        const Istante fine = Orologio::now() + std::chrono::duration_cast<Orologio::duration>(
                                                   std::chrono::duration<double>(secondi));
        while (!vero()) {
            if (corrente && !vivo(corrente)) {
                fallisci("the program under test ended by itself");
            }
            const Istante ora = Orologio::now();
            if (ora >= fine) {
                return false;
            }
            pompa(std::min(fine, ora + std::chrono::duration_cast<Orologio::duration>(
                                           std::chrono::duration<double>(passo))));
        }
        return true;
    }
    void aspetta(double secondi) {
        attendi([] { return false; }, secondi);
    }

    bool haIlFuoco(xcb_window_t w) {
        xcb_get_input_focus_reply_t* r =
            xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr);
        const bool si = r && r->focus == w;
        std::free(r);
        return si;
    }

    // Presses and releases a key; returns the instant the press was sent.
    Istante tasto(xcb_keysym_t simbolo) {
        const auto t = codici_.find(simbolo);
        if (t == codici_.end()) {
            fallisci("no key for keysym " + std::to_string(simbolo));
        }
        xcb_test_fake_input(c_, XCB_KEY_PRESS, t->second, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(c_, XCB_KEY_RELEASE, t->second, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        const Istante ora = Orologio::now();
        xcb_flush(c_);
        return ora;
    }
    void scrivi(std::string_view testo) {
        for (char ch : testo) {
            tasto(static_cast<unsigned char>(ch)); // small letters and digits: keysym = ASCII
        }
    }
    static constexpr xcb_keysym_t kInvio = 0xff0d;
    static constexpr int kMenu = 40; // at most the height of a menu bar

private:
    void leggiTastiera(const xcb_setup_t* setup) {
        const int primo = setup->min_keycode;
        const int quanti = setup->max_keycode - primo + 1;
        xcb_get_keyboard_mapping_reply_t* r = xcb_get_keyboard_mapping_reply(
            c_, xcb_get_keyboard_mapping(c_, static_cast<xcb_keycode_t>(primo), quanti), nullptr);
        if (!r) {
            fallisci("cannot read the keyboard mapping");
        }
        const xcb_keysym_t* simboli = xcb_get_keyboard_mapping_keysyms(r);
        for (int k = quanti - 1; k >= 0; --k) { // the lowest keycode wins
            const xcb_keysym_t s = simboli[k * r->keysyms_per_keycode];
            if (s != 0) {
                codici_[s] = static_cast<xcb_keycode_t>(primo + k);
            }
        }
        std::free(r);
    }

    void pompa(Istante fino) {
        if (leggi()) {
            return;
        }
        pollfd p{xcb_get_file_descriptor(c_), POLLIN, 0};
        const auto resta =
            std::chrono::ceil<std::chrono::milliseconds>(fino - Orologio::now()).count();
        poll(&p, 1, static_cast<int>(std::max<long long>(0, resta)));
        leggi();
    }

    bool leggi() {
        bool letti = false;
        const Istante ora = Orologio::now();
        while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
            gestisci(e, ora);
            std::free(e);
            letti = true;
        }
        if (xcb_connection_has_error(c_)) {
            fallisci("lost the X server");
        }
        return letti;
    }

    void gestisci(const xcb_generic_event_t* e, Istante ora) {
        const int tipo = e->response_type & 0x7f;
        if (tipo == XCB_CREATE_NOTIFY) {
            const auto* c = reinterpret_cast<const xcb_create_notify_event_t*>(e);
            if (c->parent != radice_) {
                return;
            }
            FinestraX& f = finestre_[c->window] = FinestraX{};
            f.larghezza = c->width;
            f.altezza = c->height;
            // Every drawing into the window from now on; an input-only window refuses it, and
            // the error is ignored.
            xcb_damage_create(c_, xcb_generate_id(c_), c->window,
                              XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
            xcb_flush(c_);
        } else if (tipo == XCB_MAP_NOTIFY) {
            const auto* m = reinterpret_cast<const xcb_map_notify_event_t*>(e);
            if (m->event == radice_ && !m->override_redirect) {
                finestre_[m->window].mappa = ora;
                mappate_.push_back(m->window);
                if (prolisso()) {
                    std::fprintf(stderr, "mapped 0x%x %dx%d\n", m->window,
                                 finestre_[m->window].larghezza, finestre_[m->window].altezza);
                }
            }
        } else if (tipo == XCB_CONFIGURE_NOTIFY) {
            const auto* c = reinterpret_cast<const xcb_configure_notify_event_t*>(e);
            if (c->event == radice_) {
                finestre_[c->window].larghezza = c->width;
                finestre_[c->window].altezza = c->height;
            }
        } else if (tipo == XCB_DESTROY_NOTIFY) {
            const auto* d = reinterpret_cast<const xcb_destroy_notify_event_t*>(e);
            if (d->event == radice_) {
                finestre_.erase(d->window);
            }
        } else if (tipo == eventoDanno_) {
            const auto* d = reinterpret_cast<const xcb_damage_notify_event_t*>(e);
            FinestraX& f = finestre_[d->drawable];
            f.x0 = std::min<int>(f.x0, d->area.x);
            f.y0 = std::min<int>(f.y0, d->area.y);
            f.x1 = std::max<int>(f.x1, d->area.x + d->area.width);
            f.y1 = std::max<int>(f.y1, d->area.y + d->area.height);
            ++f.danni;
            f.sottoIlMenu = f.x0 <= 0 && f.y0 <= kMenu && f.x1 >= d->geometry.width &&
                            f.y1 >= d->geometry.height;
            if (!f.coperta && f.x0 <= 0 && f.y0 <= 0 && f.x1 >= d->geometry.width &&
                f.y1 >= d->geometry.height) {
                f.coperta = ora;
            }
        }
    }

    xcb_connection_t* c_ = nullptr;
    xcb_window_t radice_ = 0;
    int eventoDanno_ = -1;
    std::map<xcb_keysym_t, xcb_keycode_t> codici_;
    std::map<xcb_window_t, FinestraX> finestre_;
    std::vector<xcb_window_t> mappate_;
};

// ---------------------------------------------------------------------------------------------
// Sessions: one program started, driven and measured under the X server

struct Impostazioni {
    int campioni = 7;     // measured runs of each kind, after one warm-up run
    int domande = 100;    // questions played before the second memory figure
    double inattivo = 10; // seconds of idle
    int scatti = 60;      // ticks of the clock
    int domandeGiro = 20; // questions per in-process sample
    bool rapido = false;
};

struct Sessione {
    double avvio = NAN;    // exec to the first window mapped, ms
    double finestra = NAN; // last answer to the main window painted, ms
    double memoria = NAN;  // VmHWM with the main window up, MiB
    double inattivo = NAN; // CPU over the idle time, ms
    double risvegli = NAN; // times its threads were put on a CPU over the idle time
    double memoria100 = NAN;
};

xcb_window_t attendiMappata(SchermoX& x, std::size_t i, const char* cosa) {
    if (!x.attendi([&] { return x.mappate() > i; }, 30)) {
        fallisci(std::string("never mapped: ") + cosa);
    }
    return x.mappata(i);
}

void attendiFuoco(SchermoX& x, xcb_window_t w, const char* cosa) {
    if (!x.attendi([&] { return x.haIlFuoco(w); }, 10, 0.001)) {
        fallisci(std::string("never got the keyboard focus: ") + cosa);
    }
}

// The main window, just painted: the idle time, then the questions.
void misuraInGioco(SchermoX& x, pid_t pid, xcb_window_t w, const Impostazioni& imp, Sessione& s) {
    attendiFuoco(x, w, "the main window");
    x.aspetta(1.0);
    s.memoria = vmhwm(pid);
    const Cpu prima = cpu(pid);
    x.aspetta(imp.inattivo);
    const Cpu dopo = cpu(pid);
    s.inattivo = dopo.ms - prima.ms;
    s.risvegli = dopo.volte - prima.volte;

    FinestraX& f = x.finestra(w);
    for (int i = 0; i < imp.domande; ++i) {
        x.scrivi(i % 2 == 0 ? "i" : "x"); // with numbers up to 1, "I" is right, "X" wrong
        f.azzera();
        x.tasto(SchermoX::kInvio);
        if (!x.attendi([&] { return f.danni > 0; }, 5)) {
            fallisci("a verdict was never painted");
        }
        f.azzera();
        x.tasto(SchermoX::kInvio);
        if (!x.attendi([&] { return f.sottoIlMenu; }, 5)) {
            fallisci("a new question was never painted");
        }
    }
    x.aspetta(0.2);
    s.memoria100 = vmhwm(pid);
}

struct Programmi {
    std::string gioco, riferimento, inProcesso;
};

int registro = -1; // where the programs' output goes

Sessione sessioneGioco(SchermoX& x, const Programmi& p, const Impostazioni& imp, bool completa) {
    Sessione s;
    const std::string record = cartellaTemporanea();
    x.nuovaSessione();
    const Istante t0 = Orologio::now();
    corrente = avvia({p.gioco}, {"CIFROLANDIA_RECORD_DIR=" + record}, registro, registro);
    const xcb_window_t nome = attendiMappata(x, 0, "the name box");
    s.avvio = msTra(t0, *x.finestra(nome).mappa);
    attendiFuoco(x, nome, "the name box");
    x.scrivi("aldo");
    x.tasto(SchermoX::kInvio);
    for (std::size_t i = 1; i <= 2; ++i) { // the greeting and the notice
        const xcb_window_t m = attendiMappata(x, i, "a message box");
        attendiFuoco(x, m, "a message box");
        x.tasto(SchermoX::kInvio);
    }
    const xcb_window_t limite = attendiMappata(x, 3, "the largest number box");
    attendiFuoco(x, limite, "the largest number box");
    x.scrivi("2"); // every question asks 1
    const Istante risposta = x.tasto(SchermoX::kInvio);
    const xcb_window_t w = attendiMappata(x, 4, "the game window");
    if (!x.attendi([&] { return x.finestra(w).coperta.has_value(); }, 30)) {
        fallisci("the game window was never painted whole");
    }
    s.finestra = msTra(risposta, *x.finestra(w).coperta);
    if (completa) {
        misuraInGioco(x, corrente, w, imp, s);
    }
    ferma(corrente);
    std::filesystem::remove_all(record);
    return s;
}

Sessione sessioneRiferimento(SchermoX& x, const Programmi& p) {
    Sessione s;
    x.nuovaSessione();
    const Istante t0 = Orologio::now();
    corrente = avvia({p.riferimento}, {}, registro, registro);
    const xcb_window_t w = attendiMappata(x, 0, "the reference window");
    s.avvio = msTra(t0, *x.finestra(w).mappa);
    ferma(corrente);
    return s;
}

Sessione sessioneRiferimentoDialogo(SchermoX& x, const Programmi& p, const Impostazioni& imp,
                                    bool completa) {
    Sessione s;
    x.nuovaSessione();
    corrente = avvia({p.riferimento, "--dialog"}, {}, registro, registro);
    const xcb_window_t box = attendiMappata(x, 0, "the reference's input box");
    attendiFuoco(x, box, "the reference's input box");
    x.scrivi("aldo");
    const Istante risposta = x.tasto(SchermoX::kInvio);
    const xcb_window_t w = attendiMappata(x, 1, "the reference window");
    if (!x.attendi([&] { return x.finestra(w).coperta.has_value(); }, 30)) {
        fallisci("the reference window was never painted whole");
    }
    s.finestra = msTra(risposta, *x.finestra(w).coperta);
    if (completa) {
        misuraInGioco(x, corrente, w, imp, s);
    }
    ferma(corrente);
    return s;
}

// ---------------------------------------------------------------------------------------------
// Figures

double mediana(std::vector<double> v) {
    v.erase(std::remove_if(v.begin(), v.end(), [](double d) { return std::isnan(d); }), v.end());
    if (v.empty()) {
        return NAN;
    }
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Cifra {
    std::vector<double> gioco, riferimento;
};

std::map<std::string, Cifra> cifre;

void annota(const std::string& nome, bool gioco, double valore) {
    (gioco ? cifre[nome].gioco : cifre[nome].riferimento).push_back(valore);
}

// Reads "<figure> <game|reference> <value>" lines.
void leggiRighe(const std::string& testo, const std::string& suffisso) {
    std::istringstream in(testo);
    std::string figura, chi;
    double valore = 0;
    while (in >> figura >> chi >> valore) {
        annota(figura + suffisso, chi == "game", valore);
    }
}

std::string esegui(const std::vector<std::string>& argomenti) {
    int tubo[2];
    if (pipe(tubo) != 0) {
        fallisci("pipe");
    }
    const pid_t pid = avvia(argomenti, {}, tubo[1], registro);
    close(tubo[1]);
    std::string uscita;
    char buf[4096];
    ssize_t n = 0;
    while ((n = read(tubo[0], buf, sizeof buf)) > 0) {
        uscita.append(buf, static_cast<std::size_t>(n));
    }
    close(tubo[0]);
    const int stato = aspettaFine(pid);
    if (!WIFEXITED(stato) || WEXITSTATUS(stato) != 0) {
        fallisci(argomenti[0] + " " + argomenti[1] + " failed");
    }
    return uscita;
}

// The clock runs in the background through the whole benchmark: its ticks are half a second
// apart and barely load the machine.
struct Sfondo {
    pid_t pid;
    int tubo;
};

Sfondo avviaDietro(const std::vector<std::string>& argomenti) {
    int tubo[2];
    if (pipe(tubo) != 0) {
        fallisci("pipe");
    }
    const pid_t pid = avvia(argomenti, {}, tubo[1], registro);
    close(tubo[1]);
    return {pid, tubo[0]};
}

double raccogli(Sfondo s) {
    std::string uscita;
    char buf[256];
    ssize_t n = 0;
    while ((n = read(s.tubo, buf, sizeof buf)) > 0) {
        uscita.append(buf, static_cast<std::size_t>(n));
    }
    close(s.tubo);
    aspettaFine(s.pid);
    return uscita.empty() ? NAN : std::stod(uscita);
}

std::string caricoMedio() {
    std::ifstream f("/proc/loadavg");
    std::string a, b, c;
    f >> a >> b >> c;
    return a + " " + b + " " + c;
}

std::string formato(double v, int decimali) {
    if (std::isnan(v)) {
        return "–";
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimali, v);
    return buf;
}

struct Riga {
    std::string nome;
    std::string cifra;
    std::string unita;
    int decimali;
    std::string obiettivo;                                 // as printed
    std::function<std::optional<bool>(double, double)> ok; // game, reference; nullopt: none
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: bench_run <cifrolandia> <bench_reference> <bench_inprocess>\n");
        return 2;
    }
    const Programmi p{argv[1], argv[2], argv[3]};
    Impostazioni imp;
    if (const char* q = std::getenv("BENCH_QUICK"); q && *q && std::strcmp(q, "0") != 0) {
        imp = {3, 20, 3, 10, 10, true};
    }
    const std::string log = (std::filesystem::temp_directory_path() / "cifrolandia-bench.log");
    registro = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (registro < 0) {
        fallisci("cannot write " + log);
    }
    const Istante inizio = Orologio::now();
    const std::string caricoIniziale = caricoMedio();
    SchermoX x;

    const std::string scatti = std::to_string(imp.scatti);
    const Sfondo orologioGioco = avviaDietro({p.inProcesso, "--clock", scatti});
    const Sfondo orologioRiferimento = avviaDietro({p.riferimento, "--clock", scatti});

    // Start-up, memory and idle, outside the programs; one warm-up run (start-up only), then
    // the measured runs, the game going first in every other one.
    for (int giro = 0; giro <= imp.campioni; ++giro) {
        const bool completa = giro > 0;
        for (int turno = 0; turno < 2; ++turno) {
            if ((giro + turno) % 2 == 0) {
                const Sessione s = sessioneGioco(x, p, imp, completa);
                if (completa) {
                    annota("avvio", true, s.avvio);
                    annota("finestra", true, s.finestra);
                    annota("memoria", true, s.memoria);
                    annota("memoria100", true, s.memoria100);
                    annota("inattivo", true, s.inattivo);
                    annota("risvegli", true, s.risvegli);
                }
            } else {
                const Sessione a = sessioneRiferimento(x, p);
                const Sessione d = sessioneRiferimentoDialogo(x, p, imp, completa);
                if (completa) {
                    annota("avvio", false, a.avvio);
                    annota("finestra", false, d.finestra);
                    annota("memoria", false, d.memoria);
                    annota("memoria100", false, d.memoria100);
                    annota("inattivo", false, d.inattivo);
                    annota("risvegli", false, d.risvegli);
                }
            }
        }
    }

    // Inside one process, on the offscreen platform.
    for (const char* schermo : {"1920x1080", "3840x2160"}) {
        leggiRighe(esegui({p.inProcesso, "--round", schermo, "1", std::to_string(imp.campioni),
                           std::to_string(imp.domandeGiro)}),
                   std::string("@") + schermo);
    }

    annota("orologio", true, raccogli(orologioGioco));
    annota("orologio", false, raccogli(orologioRiferimento));

    if (prolisso()) {
        for (const auto& [nome, c] : cifre) {
            std::printf("%-28s game:", nome.c_str());
            for (double v : c.gioco) {
                std::printf(" %.3f", v);
            }
            std::printf("\n%-28s reference:", "");
            for (double v : c.riferimento) {
                std::printf(" %.3f", v);
            }
            std::printf("\n");
        }
    }

    const double nominale = imp.scatti * 0.5;
    auto rapporto = [](double limite) {
        return [limite](double g, double r) -> std::optional<bool> { return g <= limite * r; };
    };
    auto almassimo = [](double limite) {
        return [limite](double g, double) -> std::optional<bool> { return g <= limite; };
    };
    // Idle: the reference has a clock of its own (the same precise 500 ms timer redrawing a
    // label) and the same blinking text cursor, so what a tick and a blink unavoidably cost is in
    // its figures already. Two checks:
    //   - wake-ups: no more than 10 % above the reference's, so nothing but the tick and the
    //     cursor wakes the game;
    //   - CPU time: no more than the reference's plus what the game's own tick costs more than
    //     the bare one (measured in-process, times the ticks of the idle time), plus 10 % of the
    //     reference's figure for the noise of the medians (single idle runs spread by ±15 %).
    const double ticksInattivo = imp.inattivo * 2;
    const double tickInPiu = std::max(0.0, mediana(cifre["tick@1920x1080"].gioco) -
                                               mediana(cifre["tick@1920x1080"].riferimento));
    const double margineInattivo =
        ticksInattivo * tickInPiu + 0.10 * mediana(cifre["inattivo"].riferimento);
    char obiettivoInattivo[64];
    std::snprintf(obiettivoInattivo, sizeof obiettivoInattivo, "≤ reference + %.1f ms",
                  margineInattivo);

    const std::vector<Riga> righe = {
        {"Start-up: exec to first window on screen", "avvio", "ms", 1, "≤ 1.25 × reference",
         rapporto(1.25)},
        {"Start-up: last answer to main window painted", "finestra", "ms", 1, "", nullptr},
        {"Peak memory (VmHWM), main window up", "memoria", "MiB", 1, "≤ 1.15 × reference",
         rapporto(1.15)},
        {"Peak memory (VmHWM), after " + std::to_string(imp.domande) + " questions", "memoria100",
         "MiB", 1, "≤ 1.15 × reference", rapporto(1.15)},
        {"Question round, 1920×1080", "round@1920x1080", "ms", 2, "", nullptr},
        {"Question round, 3840×2160", "round@3840x2160", "ms", 2, "≤ 16 ms", almassimo(16)},
        {"Key to verdict, right answer, 1920×1080", "verdict-right@1920x1080", "ms", 2, "≤ 16 ms",
         almassimo(16)},
        {"Key to verdict, wrong answer, 1920×1080", "verdict-wrong@1920x1080", "ms", 2, "≤ 16 ms",
         almassimo(16)},
        {"Key to verdict, right answer, 3840×2160", "verdict-right@3840x2160", "ms", 2, "≤ 16 ms",
         almassimo(16)},
        {"Key to verdict, wrong answer, 3840×2160", "verdict-wrong@3840x2160", "ms", 2, "≤ 16 ms",
         almassimo(16)},
        {"Resize to 3840×2160 (relayout and repaint)", "resize@3840x2160", "ms", 2, "≤ 16 ms",
         almassimo(16)},
        {"Clock tick (handler and repaint), 1920×1080", "tick@1920x1080", "ms", 3, "", nullptr},
        {"Idle CPU over " + formato(imp.inattivo, 0) + " s", "inattivo", "ms", 1, obiettivoInattivo,
         [margineInattivo](double g, double rr) -> std::optional<bool> {
             return g <= rr + margineInattivo;
         }},
        {"Idle wake-ups over " + formato(imp.inattivo, 0) + " s (threads put on a CPU)", "risvegli",
         "", 0, "≤ 1.1 × reference", rapporto(1.1)},
        {"Clock: " + std::to_string(imp.scatti) + " ticks of 500 ms", "orologio", "s", 3,
         formato(nominale, 0) + " s ± 0.2 %",
         [nominale](double g, double) -> std::optional<bool> {
             return std::abs(g - nominale) <= 0.002 * nominale;
         }},
    };

    const double minuti = msTra(inizio, Orologio::now()) / 60000.0;
    std::printf("\nCifrolandia against a bare Qt 6 window (25 controls, 4 menus): medians of %d "
                "runs after a warm-up%s\n",
                imp.campioni, imp.rapido ? " (BENCH_QUICK: not a verdict)" : "");
    std::printf("load average %s at the start, %s at the end; %.1f minutes\n\n",
                caricoIniziale.c_str(), caricoMedio().c_str(), minuti);
    std::printf("| Figure | Cifrolandia | Reference | Ratio | Target | |\n");
    std::printf("|---|--:|--:|--:|---|---|\n");
    bool tuttiOk = true;
    for (const Riga& riga : righe) {
        const Cifra& c = cifre[riga.cifra];
        const double g = mediana(c.gioco);
        const double rr = mediana(c.riferimento);
        std::string esito;
        if (riga.ok) {
            const bool ok = !std::isnan(g) && riga.ok(g, rr).value_or(true);
            esito = ok ? "pass" : "**MISS**";
            tuttiOk = tuttiOk && ok;
        }
        const std::string unita = riga.unita.empty() ? "" : " " + riga.unita;
        std::printf("| %s | %s%s | %s%s | %s | %s | %s |\n", riga.nome.c_str(),
                    formato(g, riga.decimali).c_str(), unita.c_str(),
                    formato(rr, riga.decimali).c_str(), unita.c_str(), formato(g / rr, 2).c_str(),
                    riga.obiettivo.c_str(), esito.c_str());
    }
    std::printf("\n%s (programs' output: %s)\n",
                tuttiOk ? "Every target met." : "Some target missed.", log.c_str());
    return tuttiOk ? 0 : 1;
}
