// Measures the output capture window against a bare read of the same output,
// in one run:
//   throughput  from starting a program to the last of its 10 MB painted in
//               the window, against reading the same output into memory; and
//               the longest wait for the window to answer a sent message at
//               any point of that capture;
//   growth      the cost of appending one 1023-byte read (and painting it)
//               while the box holds 9 MB against an empty box;
//   latency     from a child writing a line (its performance counter) to the
//               window painting it;
//   alternatives  (on request only, it takes minutes) 10 MB in the system's
//               EDIT and rich edit controls, in the ways that could have kept
//               them, against the window's own view.
// Prints ratios; run it on demand (under Wine with a display, or on Windows).
// Each figure also gets one line RESULT|figure|measured|baseline|ratio|goal
// that ./benchmark gathers into its table.
#include "platform/win32/WinApi.h"
#include <richedit.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "console/CaptureText.h"
#include "platform/win32/Win32ProcessCapture.h"
#include "views/CaptureWindow.h"
#include "views/OutputView.h"

namespace {

constexpr long long kTotalBytes = 10 * 1024 * 1024;
constexpr long long kMegabyte = 1024 * 1024;
constexpr double kAnswerLimitMs = 100;
constexpr const char* kRecorderProperty = "KTVBenchRecorder";

double Seconds() {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string WriterCommand(const std::string& steps) {
    char self[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, length);
    // The build puts the writer in standins\, beside this program's bench\.
    return "\"" + path.substr(0, path.rfind('\\') + 1) + "..\\standins\\capture_writer.exe\" " +
           steps;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The machine-readable line ./benchmark reads; `goal` is the largest ratio that meets it.
void PrintResult(const char* figure, const std::string& measured, const std::string& baseline,
                 double ratio, double goal) {
    std::printf("RESULT|%s|%s|%s|%.2f|%.2f\n", figure, measured.c_str(), baseline.c_str(), ratio,
                goal);
}

// The value with `decimals` places and its unit, e.g. "12.34 ms".
std::string Format(double value, int decimals, const char* unit) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.*f %s", decimals, value, unit);
    return text;
}

void Pump() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

HWND OutputViewOf(const ktv::win32::CaptureWindow& window) {
    return ::GetDlgItem(window.Hwnd(), ktv::win32::CaptureWindow::kOutputViewId);
}

// Lets the window work until the box holds `length` characters and has
// painted them.
void PumpUntilShown(const ktv::win32::CaptureWindow& window, std::size_t length) {
    const HWND box = OutputViewOf(window);
    while (static_cast<std::size_t>(::GetWindowTextLengthA(box)) < length ||
           ::GetUpdateRect(box, nullptr, FALSE)) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
}

// Sends the window a message every few milliseconds from another thread and
// keeps the longest time one took to be answered.
class AnswerProbe {
public:
    explicit AnswerProbe(HWND window)
        : thread_([this, window] {
              while (!stop_) {
                  const double start = Seconds();
                  DWORD_PTR result = 0;
                  ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
                  worstMs_ = std::max(worstMs_.load(), 1000 * (Seconds() - start));
                  ::Sleep(5);
              }
              finished_ = true;
          }) {}
    AnswerProbe(const AnswerProbe&) = delete;
    AnswerProbe& operator=(const AnswerProbe&) = delete;
    // Keeps answering until the probe has stopped: its last message may be waiting.
    ~AnswerProbe() {
        stop_ = true;
        while (!finished_) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            Pump();
        }
        thread_.join();
    }

    double WorstMs() const { return worstMs_; }

private:
    std::atomic<bool> stop_ = false;
    std::atomic<bool> finished_ = false;
    std::atomic<double> worstMs_ = 0;
    std::thread thread_;
};

double BareRead(ktv::ProcessCapture& capture, std::size_t& bytes) {
    const double start = Seconds();
    auto process = capture.StartCaptured(WriterCommand("bulk:" + std::to_string(kTotalBytes)));
    std::string all;
    std::string chunk;
    while (process->ReadChunk(chunk)) {
        all += chunk;
    }
    const double elapsed = Seconds() - start;
    bytes = ktv::CaptureText().Convert(all).size();  // as the box shows it
    return elapsed;
}

// The lines the view holds and the rows it shows them in: more rows than
// lines where it wraps them.
void PrintRows(const char* what, HWND view) {
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(view)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextA(view, text.data(), static_cast<int>(text.size()))));
    std::size_t lines = 1;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++lines;
    }
    std::printf("%s: %zu lines in %ld rows\n", what, lines,
                static_cast<long>(::SendMessageA(view, EM_GETLINECOUNT, 0, 0)));
}

double WindowCapture(ktv::ProcessCapture& capture, std::size_t expected, std::size_t& shown,
                     double& worstAnswerMs) {
    ktv::win32::CaptureWindow window(::GetModuleHandleA(nullptr), capture);
    ::ShowWindow(window.Hwnd(), SW_SHOW);
    Pump();
    const AnswerProbe probe(window.Hwnd());
    const double start = Seconds();
    window.ShowAndRun(WriterCommand("bulk:" + std::to_string(kTotalBytes)));
    PumpUntilShown(window, expected);
    const double elapsed = Seconds() - start;
    worstAnswerMs = probe.WorstMs();
    shown = static_cast<std::size_t>(::GetWindowTextLengthA(OutputViewOf(window)));
    PrintRows("throughput", OutputViewOf(window));
    return elapsed;
}

void Throughput(ktv::ProcessCapture& capture) {
    std::vector<double> bare;
    std::vector<double> windowed;
    std::vector<double> answers;
    std::size_t bytes = 0;
    std::size_t shown = 0;
    for (int round = 0; round < 3; ++round) {
        bare.push_back(BareRead(capture, bytes));
        double worstAnswerMs = 0;
        windowed.push_back(WindowCapture(capture, bytes, shown, worstAnswerMs));
        answers.push_back(worstAnswerMs);
    }
    const double worstAnswer = *std::max_element(answers.begin(), answers.end());
    std::printf(
        "throughput: %zu bytes read bare in %.3f s; %zu characters shown in the window in"
        " %.3f s; median of 3 rounds\n",
        bytes, Median(bare), shown, Median(windowed));
    std::printf("throughput ratio window/bare: %.2f (target <= 2.00)\n",
                Median(windowed) / Median(bare));
    std::printf("longest wait for the window to answer during the captures: %.1f ms (limit %.0f)\n",
                worstAnswer, kAnswerLimitMs);
    PrintResult("capture 10 MB into the window", Format(Median(windowed), 3, "s"),
                Format(Median(bare), 3, "s bare pipe read"), Median(windowed) / Median(bare), 2.0);
    PrintResult("capture window answers a sent message (worst)", Format(worstAnswer, 1, "ms"),
                Format(kAnswerLimitMs, 0, "ms limit"), worstAnswer / kAnswerLimitMs, 1.0);
}

// A top-level window holding one output view, as the capture window does.
struct ViewUnderTest {
    explicit ViewUnderTest(HINSTANCE instance, int width = 700)
        : frame(::CreateWindowExA(0, "STATIC", "view", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 720,
                                  460, nullptr, nullptr, instance, nullptr)),
          view(instance, frame, 1) {
        ::MoveWindow(view.Hwnd(), 0, 0, width, 400, TRUE);
        Pump();
    }
    ~ViewUnderTest() { ::DestroyWindow(frame); }

    HWND frame;
    ktv::win32::OutputView view;
};

// One read's worth of text appended and painted, on average over `count`.
double AppendChunks(ktv::win32::OutputView& view, const std::string& chunk, int count) {
    const double start = Seconds();
    for (int i = 0; i < count; ++i) {
        view.Append(chunk);
        ::UpdateWindow(view.Hwnd());
    }
    return (Seconds() - start) / count;
}

// In a view as wide as the capture window's 100-column lines, and, with
// `wrapped`, in one half as wide, which wraps each of them.
void Growth(HINSTANCE instance, bool wrapped) {
    ViewUnderTest under(instance, wrapped ? 350 : 700);
    std::string chunk;
    while (chunk.size() + 100 <= 1000) {
        chunk += std::string(98, 'y') + "\r\n";
    }
    chunk += std::string(1023 - chunk.size(), 'z') + "\r\n";
    constexpr int kSample = 200;
    const double first = AppendChunks(under.view, chunk, kSample);
    std::string megabyte;
    while (megabyte.size() < static_cast<std::size_t>(kMegabyte)) {
        megabyte += chunk;
    }
    while (::GetWindowTextLengthA(under.view.Hwnd()) < 9 * kMegabyte) {
        under.view.Append(megabyte);
    }
    const double late = AppendChunks(under.view, chunk, kSample);
    const char* const what = wrapped ? "growth, lines wrapped" : "growth";
    PrintRows(what, under.view.Hwnd());
    std::printf(
        "%s: one %zu-byte chunk appended and painted in an empty box %.1f us, in a 9 MB box"
        " %.1f us (%d chunks each)\n",
        what, chunk.size(), 1e6 * first, 1e6 * late, kSample);
    std::printf("%s ratio at 9 MB/at start: %.2f\n", what, late / first);
    if (wrapped) {
        return;  // shown, not a figure of its own
    }
    PrintResult("capture per-chunk cost, 9 MB box", Format(1e6 * late, 1, "us"),
                Format(1e6 * first, 1, "us empty box"), late / first, 1.5);
}

// Notes when the box paints text it had not painted before, and that text.
struct Recorder {
    WNDPROC original = nullptr;
    std::size_t painted = 0;
    std::vector<std::string> shown;
    std::vector<long long> shownAt;  // performance counter after each such paint

    static LRESULT CALLBACK Proc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = static_cast<Recorder*>(::GetPropA(box, kRecorderProperty));
        const LRESULT result = ::CallWindowProcA(self->original, box, message, wParam, lParam);
        if (message == WM_PAINT) {
            LARGE_INTEGER now;
            ::QueryPerformanceCounter(&now);
            std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(box)) + 1, '\0');
            text.resize(static_cast<std::size_t>(
                ::GetWindowTextA(box, text.data(), static_cast<int>(text.size()))));
            if (text.size() > self->painted) {
                self->shown.push_back(text.substr(self->painted));
                self->shownAt.push_back(now.QuadPart);
                self->painted = text.size();
            }
        }
        return result;
    }

    void Attach(HWND box) {
        ::SetPropA(box, kRecorderProperty, this);
        original = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Recorder::Proc)));
    }
    void Detach(HWND box) {
        ::SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        ::RemovePropA(box, kRecorderProperty);
    }
};

void Latency(ktv::ProcessCapture& capture) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    ktv::win32::CaptureWindow window(::GetModuleHandleA(nullptr), capture);
    std::vector<double> latencies;
    for (int run = 0; run < 20; ++run) {
        Recorder recorder;
        recorder.Attach(OutputViewOf(window));
        window.ShowAndRun(WriterCommand("stamp sleep:100"));
        PumpUntilShown(window, 8);  // "stamp=" and the first digits
        recorder.Detach(OutputViewOf(window));
        for (std::size_t i = 0; i < recorder.shown.size(); ++i) {
            const std::size_t at = recorder.shown[i].find("stamp=");
            if (at != std::string::npos) {
                const long long written = std::stoll(recorder.shown[i].substr(at + 6));
                latencies.push_back(1000.0 * static_cast<double>(recorder.shownAt[i] - written) /
                                    static_cast<double>(frequency.QuadPart));
            }
        }
    }
    if (latencies.empty()) {
        std::printf("latency: no stamp arrived\n");
        std::printf("RESULT|capture first line visible|not measured|-|-|1.00\n");
        return;
    }
    const double worst = *std::max_element(latencies.begin(), latencies.end());
    std::printf(
        "latency: %zu runs, written-to-painted median %.2f ms, max %.2f ms (target <= 50)\n",
        latencies.size(), Median(latencies), worst);
    PrintResult("capture first line visible (median)",
                Format(Median(latencies), 2, "ms, max ") + Format(worst, 2, "ms"), "50 ms limit",
                Median(latencies) / 50.0, 1.0);
}

// 10 MB of 100-byte lines put into a control in pieces of `piece` bytes
// (0: all at once with WM_SETTEXT), each piece painted before the next.
double FillControl(HINSTANCE instance, const char* className, DWORD style, std::size_t piece) {
    const HWND box = ::CreateWindowExA(
        WS_EX_CLIENTEDGE, className, "",
        WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | style, 0, 0,
        720, 460, nullptr, nullptr, instance, nullptr);
    if (box == nullptr) {
        return -1;
    }
    ::SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(ANSI_FIXED_FONT)),
                   TRUE);
    ::SendMessageA(box, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);  // rich edit; EM_SETLIMITTEXT for EDIT
    ::SendMessageA(box, EM_SETLIMITTEXT, 0, 0);
    std::string line(98, 'x');
    line += "\r\n";
    std::string text;
    while (text.size() < (piece == 0 ? static_cast<std::size_t>(kTotalBytes) : piece)) {
        text += line;
    }
    const double start = Seconds();
    if (piece == 0) {
        ::SetWindowTextA(box, text.c_str());
    } else {
        for (long long done = 0; done < kTotalBytes; done += static_cast<long long>(text.size())) {
            const int end = ::GetWindowTextLengthA(box);
            ::SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(end), end);
            ::SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
            ::UpdateWindow(box);
        }
    }
    Pump();
    ::UpdateWindow(box);
    const double elapsed = Seconds() - start;
    ::DestroyWindow(box);
    return elapsed;
}

// The same into the window's own view, in pieces of `piece` bytes, painted
// after each piece or, with `gather`, at most every CaptureWindow::kShowInterval
// with the pieces that arrived meanwhile appended at once, as the window does.
double FillView(HINSTANCE instance, std::size_t piece, bool gather) {
    ViewUnderTest under(instance);
    std::string line(98, 'x');
    line += "\r\n";
    std::string text;
    while (text.size() < piece) {
        text += line;
    }
    text.resize(piece);
    const double interval =
        std::chrono::duration<double>(ktv::win32::CaptureWindow::kShowInterval).count();
    const double start = Seconds();
    double shown = 0;
    std::string gathered;
    for (long long done = 0; done < kTotalBytes; done += static_cast<long long>(text.size())) {
        gathered += text;
        if (!gather || Seconds() - shown >= interval) {
            under.view.Append(gathered);
            gathered.clear();
            ::UpdateWindow(under.view.Hwnd());
            shown = Seconds();
        }
    }
    under.view.Append(gathered);
    ::UpdateWindow(under.view.Hwnd());
    return Seconds() - start;
}

void Alternatives(HINSTANCE instance) {
    ::LoadLibraryA("riched20.dll");
    constexpr std::size_t k64K = 64 * 1024;
    const struct {
        const char* what;
        double seconds;
    } rows[] = {
        {"EDIT, word wrap, one WM_SETTEXT", FillControl(instance, "EDIT", 0, 0)},
        {"EDIT, no wrap, one WM_SETTEXT",
         FillControl(instance, "EDIT", ES_AUTOHSCROLL | WS_HSCROLL, 0)},
        {"EDIT, word wrap, 64 KB appends", FillControl(instance, "EDIT", 0, k64K)},
        {"EDIT, no wrap, 64 KB appends",
         FillControl(instance, "EDIT", ES_AUTOHSCROLL | WS_HSCROLL, k64K)},
        {"EDIT, no wrap, 1 MB appends",
         FillControl(instance, "EDIT", ES_AUTOHSCROLL | WS_HSCROLL, kMegabyte)},
        {"rich edit 2.0, 64 KB appends", FillControl(instance, "RichEdit20A", 0, k64K)},
        {"own view, 64 KB appends", FillView(instance, k64K, false)},
        {"own view, 1023-byte reads, as the window", FillView(instance, 1023, true)},
    };
    std::printf("alternatives: 10 MB of 100-byte lines put into the box and painted\n");
    for (const auto& row : rows) {
        std::printf("  %-40s %8.3f s\n", row.what, row.seconds);
    }
}

}  // namespace

// Runs throughput, growth and latency, or those named as arguments;
// "alternatives" only when named.
int main(int argc, char** argv) {
    const std::vector<std::string> chosen(argv + 1, argv + argc);
    const auto named = [&](const char* name) {
        return std::find(chosen.begin(), chosen.end(), name) != chosen.end();
    };
    const auto wanted = [&](const char* name) { return chosen.empty() || named(name); };
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    ktv::win32::Win32ProcessCapture capture;
    if (wanted("throughput")) {
        Throughput(capture);
    }
    if (wanted("growth")) {
        Growth(instance, false);
        Growth(instance, true);
    }
    if (wanted("latency")) {
        Latency(capture);
    }
    if (named("alternatives")) {
        Alternatives(instance);
    }
    return 0;
}
