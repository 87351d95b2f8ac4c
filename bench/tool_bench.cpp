// tr640-bench-tool: the measuring helpers of scripts/bench.
//
//   tr640-bench-tool run [--runs N] [--until TEXT] [--gap-ms N] [--child-stderr FILE]
//                        -- COMMAND ARGS...
//       Starts COMMAND N times, one after the other (stderr to FILE when given). For each run:
//       the wall time from just before the start to the first line on its stdout that contains
//       TEXT, and to its exit; its CPU time (user + system) and peak resident set. Fails when a
//       run exits non-zero or never prints TEXT.
//   tr640-bench-tool wire --port PORT read|write [--runs N]
//       The frames of a full read or write, sent the moment the radio's reply is complete,
//       with nothing else around them: what the line, the simulator and the pseudo-terminal
//       cost on their own. Counts the bytes exchanged up to the radio's last reply.
//   tr640-bench-tool sample FILE.DAT
//       Writes a codeplug with all sixteen channels in use.
//
// Output lines are "key value..." for scripts/bench; times in milliseconds.

#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"
#include "link/Frames.h"

#include "SampleCodeplug.h"

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace tr640;

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double Median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "tr640-bench-tool: %s\n", message.c_str());
    return 1;
}

void SleepMs(int ms) {
    timespec t{ms / 1000, long(ms % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

// --- run ---------------------------------------------------------------------------------------

struct RunResult {
    double untilMs = -1;
    double exitMs = 0;
    double userMs = 0;
    double sysMs = 0;
    long maxRssKb = 0;
    int status = -1;
};

bool RunOnce(char** command, const std::string& until, const std::string& childStderr,
             RunResult* r) {
    int out[2];
    if (pipe(out) != 0)
        return false;
    const double t0 = NowMs();
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        if (!childStderr.empty()) {
            const int err = open(childStderr.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (err >= 0) {
                dup2(err, STDERR_FILENO);
                close(err);
            }
        }
        execvp(command[0], command);
        std::fprintf(stderr, "tr640-bench-tool: cannot start %s: %s\n", command[0],
                     std::strerror(errno));
        _exit(127);
    }
    close(out[1]);
    std::string line;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        if (r->untilMs >= 0)
            continue;
        const double now = NowMs();
        for (ssize_t i = 0; i < n && r->untilMs < 0; ++i) {
            if (buffer[i] != '\n') {
                line += buffer[i];
                continue;
            }
            if (!until.empty() && line.find(until) != std::string::npos)
                r->untilMs = now - t0;
            line.clear();
        }
    }
    close(out[0]);
    int status = 0;
    rusage ru{};
    while (wait4(pid, &status, 0, &ru) < 0 && errno == EINTR) {
    }
    r->exitMs = NowMs() - t0;
    r->userMs = double(ru.ru_utime.tv_sec) * 1e3 + double(ru.ru_utime.tv_usec) / 1e3;
    r->sysMs = double(ru.ru_stime.tv_sec) * 1e3 + double(ru.ru_stime.tv_usec) / 1e3;
    r->maxRssKb = ru.ru_maxrss;
    r->status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

int Run(int argc, char** argv) {
    int runs = 5, gapMs = 0;
    std::string until, childStderr;
    int i = 0;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--")
            break;
        if (i + 1 >= argc)
            return Fail("run: " + a + " needs a value");
        if (a == "--runs")
            runs = std::atoi(argv[++i]);
        else if (a == "--until")
            until = argv[++i];
        else if (a == "--gap-ms")
            gapMs = std::atoi(argv[++i]);
        else if (a == "--child-stderr")
            childStderr = argv[++i];
        else
            return Fail("run: unknown option " + a);
    }
    if (i + 1 >= argc || runs < 1)
        return Fail("usage: run [--runs N] [--until TEXT] [--gap-ms N] [--child-stderr FILE] -- "
                    "COMMAND ARGS...");
    char** command = argv + i + 1;
    std::vector<double> untilMs, exitMs, cpuMs, userMs, sysMs, rss;
    for (int run = 1; run <= runs; ++run) {
        if (run > 1 && gapMs > 0)
            SleepMs(gapMs);
        RunResult r;
        if (!RunOnce(command, until, childStderr, &r))
            return Fail(std::string("cannot start ") + command[0]);
        std::printf("run %d until_ms %.2f exit_ms %.2f cpu_ms %.2f user_ms %.2f sys_ms %.2f "
                    "maxrss_kb %ld status %d\n",
                    run, r.untilMs, r.exitMs, r.userMs + r.sysMs, r.userMs, r.sysMs, r.maxRssKb,
                    r.status);
        std::fflush(stdout);
        if (r.status != 0)
            return Fail(std::string(command[0]) + " exited with status " +
                        std::to_string(r.status));
        if (!until.empty() && r.untilMs < 0)
            return Fail(std::string(command[0]) + " never printed \"" + until + "\"");
        untilMs.push_back(r.untilMs);
        exitMs.push_back(r.exitMs);
        cpuMs.push_back(r.userMs + r.sysMs);
        userMs.push_back(r.userMs);
        sysMs.push_back(r.sysMs);
        rss.push_back(double(r.maxRssKb));
    }
    std::printf("median until_ms %.2f exit_ms %.2f cpu_ms %.2f user_ms %.2f sys_ms %.2f "
                "maxrss_kb %.0f\n",
                Median(untilMs), Median(exitMs), Median(cpuMs), Median(userMs), Median(sysMs),
                Median(rss));
    return 0;
}

// --- wire --------------------------------------------------------------------------------------

class RawLine {
public:
    ~RawLine() {
        if (fd_ >= 0)
            close(fd_);
    }
    bool open(const char* path) {
        fd_ = ::open(path, O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ < 0)
            return false;
        termios raw{};
        if (tcgetattr(fd_, &raw) != 0)
            return false;
        cfmakeraw(&raw);
        cfsetispeed(&raw, B9600);
        cfsetospeed(&raw, B9600);
        if (tcsetattr(fd_, TCSANOW, &raw) != 0)
            return false;
        tcflush(fd_, TCIOFLUSH);
        return true;
    }
    bool send(const QByteArray& bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                pollfd p{fd_, POLLOUT, 0};
                poll(&p, 1, 100);
                continue;
            }
            if (n <= 0)
                return false;
            done += n;
        }
        sent_ += bytes.size();
        return true;
    }
    // Waits for exactly `count` bytes, at most timeoutMs.
    bool expect(int count, int timeoutMs) {
        const double deadline = NowMs() + timeoutMs;
        int got = 0;
        char buffer[256];
        while (got < count) {
            const double left = deadline - NowMs();
            if (left <= 0)
                return false;
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, int(left) + 1) <= 0)
                continue;
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n > 0)
                got += int(n);
        }
        received_ += got;
        return got == count;
    }
    long sent() const { return sent_; }
    long received() const { return received_; }

private:
    int fd_ = -1;
    long sent_ = 0;
    long received_ = 0;
};

// The frame addresses of a write without the calibration block, in the order they are sent.
QList<int> WriteAddresses() {
    using namespace link;
    QList<int> a;
    for (int address = kReadStart; address < kWriteEnd; address += kWriteFrameSize) {
        if (address == kCalibrationBlock)
            address = kIdentBlock;
        else if (address == kIdentBlock + kWriteFrameSize)
            address = kUpperStart;
        a.append(address);
    }
    return a;
}

// One dialogue; false when a reply does not come. *ms runs from the first byte sent to the
// last byte of the radio's last reply; the end request after it is not counted.
bool WireOnce(const char* port, bool read, double* ms, long* bytes) {
    using namespace link;
    constexpr int kTimeout = 3000;
    RawLine line;
    if (!line.open(port))
        return false;
    const QByteArray ack = SingleByte(kAck);
    const double t0 = NowMs();
    bool ok = line.send(ProgramModeRequest()) && line.expect(1, kTimeout) &&
              line.send(SingleByte(kIdentify)) && line.expect(kIdentReplySize, kTimeout) &&
              line.send(ack) && line.expect(1, kTimeout);
    if (read) {
        for (int block = 0; ok && block < kReadBlocks; ++block)
            ok = line.send(ReadRequest(kReadStart + block * kReadBlockSize)) &&
                 line.expect(kDataFrameSize, kTimeout) && line.send(ack) &&
                 line.expect(1, kTimeout);
    } else {
        const QByteArray data(kWriteFrameSize, '\xFF');
        for (const int address : WriteAddresses()) {
            ok = ok && line.send(WriteFrame(address, data)) && line.expect(1, kTimeout);
            if (!ok)
                break;
        }
    }
    *ms = NowMs() - t0;
    *bytes = line.sent() + line.received();
    line.send(SingleByte(kEnd));
    return ok;
}

int Wire(int argc, char** argv) {
    std::string port, direction;
    int runs = 5;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--port" && i + 1 < argc)
            port = argv[++i];
        else if (a == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (a == "read" || a == "write")
            direction = a;
        else
            return Fail("wire: unexpected argument " + a);
    }
    if (port.empty() || direction.empty() || runs < 1)
        return Fail("usage: wire --port PORT read|write [--runs N]");
    std::vector<double> times;
    long bytes = 0;
    for (int run = 1; run <= runs; ++run) {
        double ms = 0;
        if (!WireOnce(port.c_str(), direction == "read", &ms, &bytes))
            return Fail("wire: the radio on " + port + " did not answer");
        std::printf("run %d ms %.2f bytes %ld\n", run, ms, bytes);
        std::fflush(stdout);
        times.push_back(ms);
        SleepMs(100); // the end request reaches the radio before the next dialogue
    }
    std::printf("median ms %.2f bytes %ld floor_ms %.2f\n", Median(times), bytes,
                double(bytes) * 1000.0 / 960.0);
    return 0;
}

// --- sample ------------------------------------------------------------------------------------

int Sample(int argc, char** argv) {
    if (argc != 1)
        return Fail("usage: sample FILE.DAT");
    const FileStatus st =
        WriteFileAtomically(QString::fromLocal8Bit(argv[0]), EncodeImage(bench::SampleCodeplug()));
    return st.ok() ? 0 : Fail(std::string("cannot write ") + argv[0]);
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "run")
        return Run(argc - 2, argv + 2);
    if (command == "wire")
        return Wire(argc - 2, argv + 2);
    if (command == "sample")
        return Sample(argc - 2, argv + 2);
    return Fail("usage: tr640-bench-tool run|wire|sample ... (see the head of tool_bench.cpp)");
}
