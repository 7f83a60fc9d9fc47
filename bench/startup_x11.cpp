// Start-up of the real program, as the X server sees it: from the moment the program is started until
// every shown note window is mapped and has been painted (X Damage), and the program's resident memory
// then. Event-driven: nothing polls.
//
//   startup_x11 [--class CLASS] [--cpu-of NAME=PID]... FOLDER SHOWN_NOTES RUNS PROGRAM [ARGUMENTS...]
//
// runs the program in FOLDER (which holds its TextSetting.ini) RUNS times, ending each run with SIGTERM,
// and prints every run and the medians, with the processor time the program spent until then, and
// each process named with --cpu-of (the X server, a compositing manager, wineserver) in that time. The Linux program's notes are the windows whose role is
// "text_N"; with --class, the windows of that class (a Windows program under Wine: "skyslate2.exe").
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include "ProcessMemory.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <strings.h>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
    double milliseconds = -1;
    long residentKiB = -1;
    std::vector<double> cpuMilliseconds;  // the program's, then each other process's
};

// The time a process has run on a processor so far, in milliseconds (the scheduler's own count).
double CpuMillisecondsOf(pid_t pid) {
    FILE* file = fopen(("/proc/" + std::to_string(pid) + "/schedstat").c_str(), "r");
    if (!file) return 0;
    unsigned long long nanoseconds = 0;
    if (fscanf(file, "%llu", &nanoseconds) != 1) nanoseconds = 0;
    fclose(file);
    return double(nanoseconds) / 1e6;
}

struct OtherProcess {
    std::string name;
    pid_t pid;
};

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

bool PropertyStartsWith(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, const char* prefix) {
    auto* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, XCB_ATOM_STRING, 0, 64), nullptr);
    const size_t length = strlen(prefix);
    const bool matches = reply && size_t(xcb_get_property_value_length(reply)) >= length &&
                         strncasecmp(static_cast<const char*>(xcb_get_property_value(reply)), prefix, length) == 0;
    free(reply);
    return matches;
}

struct Options {
    const char* windowClass = nullptr;
    const char* folder = nullptr;
    int shown = 0;
    int runs = 5;
    char** program = nullptr;  // the command, null-terminated
    std::vector<OtherProcess> others;
};

bool IsNote(xcb_connection_t* c, xcb_window_t window, const Options& options) {
    if (options.windowClass) return PropertyStartsWith(c, window, XCB_ATOM_WM_CLASS, options.windowClass);
    return PropertyStartsWith(c, window, Atom(c, "WM_WINDOW_ROLE"), "text_");
}

struct Watched {
    bool mapped = false;
    bool painted = false;
    bool note = false;
};

Run RunOnce(xcb_connection_t* c, uint8_t damageEvent, const Options& options) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const char* folder = options.folder;
    const int shown = options.shown;
    const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
    xcb_flush(c);

    std::vector<double> othersBefore;
    for (const OtherProcess& other : options.others) othersBefore.push_back(CpuMillisecondsOf(other.pid));
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder) != 0) _exit(127);
        setenv("XDG_RUNTIME_DIR", (std::string(folder) + "/run").c_str(), 1);
        setenv("XDG_CONFIG_HOME", folder, 1);
        execvp(options.program[0], options.program);
        _exit(127);
    }
    std::map<xcb_window_t, Watched> windows;
    int ready = 0;
    Run run;
    auto settle = [&](Watched& w) {
        if (w.note && w.mapped && w.painted) {
            w.note = false;  // counted once
            if (++ready == shown) run.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        }
    };
    while (run.milliseconds < 0) {
        xcb_generic_event_t* event = xcb_wait_for_event(c);
        if (!event) break;
        const uint8_t type = event->response_type & 0x7F;
        if (type == XCB_CREATE_NOTIFY) {
            const xcb_window_t w = reinterpret_cast<xcb_create_notify_event_t*>(event)->window;
            const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            xcb_change_window_attributes(c, w, XCB_CW_EVENT_MASK, &mask);
            xcb_damage_create(c, xcb_generate_id(c), w, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            windows[w];
            xcb_flush(c);
        } else if (type == XCB_MAP_NOTIFY) {
            const xcb_window_t w = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
            auto found = windows.find(w);
            if (found != windows.end() && !found->second.mapped) {
                found->second.mapped = true;
                found->second.note = IsNote(c, w, options);
                settle(found->second);
            }
        } else if (type == damageEvent + XCB_DAMAGE_NOTIFY) {
            auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            auto found = windows.find(damage->drawable);
            if (found != windows.end()) {
                found->second.painted = true;
                settle(found->second);
            }
        }
        free(event);
    }
    run.residentKiB = ResidentKiBOf(pid);
    run.cpuMilliseconds.push_back(CpuMillisecondsOf(pid));
    for (size_t i = 0; i < options.others.size(); ++i)
        run.cpuMilliseconds.push_back(CpuMillisecondsOf(options.others[i].pid) - othersBefore[i]);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// "12.0 ms the program, 30.1 ms Xvfb"
std::string CpuText(const std::vector<double>& milliseconds, const std::vector<OtherProcess>& others) {
    std::string text;
    for (size_t i = 0; i < milliseconds.size(); ++i) {
        char part[96];
        std::snprintf(part, sizeof part, "%s%.1f ms %s", i ? ", " : "", milliseconds[i],
                      i ? others[i - 1].name.c_str() : "the program");
        text += part;
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    int next = 1;
    for (; next + 1 < argc && strncmp(argv[next], "--", 2) == 0; next += 2) {
        if (strcmp(argv[next], "--class") == 0) {
            options.windowClass = argv[next + 1];
        } else if (strcmp(argv[next], "--cpu-of") == 0 && strchr(argv[next + 1], '=')) {
            const char* pid = strchr(argv[next + 1], '=') + 1;
            options.others.push_back({std::string(argv[next + 1], size_t(pid - 1 - argv[next + 1])), pid_t(std::atoi(pid))});
        } else {
            break;
        }
    }
    if (argc - next < 4) {
        std::fprintf(stderr, "usage: %s [--class CLASS] [--cpu-of NAME=PID]... FOLDER SHOWN_NOTES RUNS PROGRAM [ARGUMENTS...]\n",
                     argv[0]);
        return 2;
    }
    options.folder = argv[next++];
    options.shown = std::atoi(argv[next++]);
    options.runs = std::atoi(argv[next++]);
    options.program = argv + next;
    // The program runs in FOLDER: a path relative to here would not find it there.
    if (strchr(options.program[0], '/')) {
        char* absolute = realpath(options.program[0], nullptr);
        if (!absolute) {
            std::fprintf(stderr, "no program at %s\n", options.program[0]);
            return 2;
        }
        options.program[0] = absolute;
    }
    const int shown = options.shown;
    const int runs = options.runs;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &xcb_damage_id);
    if (!damage || !damage->present) {
        std::fprintf(stderr, "the X server has no Damage extension\n");
        return 1;
    }
    free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    std::vector<double> times, memory;
    std::vector<std::vector<double>> cpu(1 + options.others.size());
    for (int i = 0; i < runs; ++i) {
        // Each run starts on a quiet desktop: Wine goes on tearing down a killed program's windows after
        // it has exited, and that work would be counted against the next start.
        if (i > 0) sleep(2);
        const Run run = RunOnce(c, damage->first_event, options);
        std::printf("  run %d: %.1f ms, %.1f MiB, processor %s\n", i + 1, run.milliseconds, run.residentKiB / 1024.0,
                    CpuText(run.cpuMilliseconds, options.others).c_str());
        times.push_back(run.milliseconds);
        memory.push_back(run.residentKiB / 1024.0);
        for (size_t k = 0; k < cpu.size(); ++k) cpu[k].push_back(run.cpuMilliseconds[k]);
    }
    std::vector<double> cpuMedians;
    for (const std::vector<double>& values : cpu) cpuMedians.push_back(Median(values));
    std::printf("%d shown notes: median %.1f ms until all are on screen, %.1f MiB resident, processor %s\n", shown,
                Median(times), Median(memory), CpuText(cpuMedians, options.others).c_str());
    xcb_disconnect(c);
    return 0;
}
