// Measures the output capture window against a bare read of the same output,
// in one run:
//   throughput  capturing 10 MB into the window vs reading it into memory;
//   growth      the cost of appending 1023-byte chunks to an edit box while
//               it holds its first MB vs its last MB;
//   latency     from a child writing a line (its performance counter) to the
//               window inserting it.
// Prints ratios; run it on demand (under Wine with a display, or on Windows).
// Each figure also gets one line RESULT|figure|measured|baseline|ratio|goal
// that ./bench gathers into its table.
#include "platform/win32/WinApi.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "console/CaptureText.h"
#include "platform/win32/Win32ProcessCapture.h"
#include "views/CaptureWindow.h"
#include "views/EditAppend.h"

namespace {

constexpr long long kTotalBytes = 10 * 1024 * 1024;
constexpr long long kMegabyte = 1024 * 1024;
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

// The machine-readable line ./bench reads; `goal` is the largest ratio that meets it.
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

// Watches the text box's EM_REPLACESEL calls: when they happen and what they add.
struct Recorder {
    WNDPROC original = nullptr;
    std::vector<std::string> inserted;
    std::vector<long long> insertedAt;  // performance counter after each insert

    static LRESULT CALLBACK Proc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = static_cast<Recorder*>(::GetPropA(edit, kRecorderProperty));
        const LRESULT result = ::CallWindowProcA(self->original, edit, message, wParam, lParam);
        if (message == EM_REPLACESEL) {
            LARGE_INTEGER now;
            ::QueryPerformanceCounter(&now);
            self->inserted.emplace_back(reinterpret_cast<const char*>(lParam));
            self->insertedAt.push_back(now.QuadPart);
        }
        return result;
    }

    void Attach(HWND edit) {
        ::SetPropA(edit, kRecorderProperty, this);
        original = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Recorder::Proc)));
    }
    void Detach(HWND edit) {
        ::SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        ::RemovePropA(edit, kRecorderProperty);
    }
};

HWND Text2(const ktv::win32::CaptureWindow& window) {
    return ::GetDlgItem(window.Hwnd(), ktv::win32::CaptureWindow::kText2Id);
}

// Lets the window work until the box holds `length` characters.
void PumpUntilShown(const ktv::win32::CaptureWindow& window, std::size_t length) {
    while (static_cast<std::size_t>(::GetWindowTextLengthA(Text2(window))) < length) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
}

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

double WindowCapture(ktv::ProcessCapture& capture, std::size_t expected, std::size_t& shown,
                     std::size_t& inserts) {
    ktv::win32::CaptureWindow window(::GetModuleHandleA(nullptr), capture);
    Recorder recorder;
    recorder.Attach(Text2(window));
    const double start = Seconds();
    window.Redir(WriterCommand("bulk:" + std::to_string(kTotalBytes)));
    PumpUntilShown(window, expected);
    const double elapsed = Seconds() - start;
    shown = static_cast<std::size_t>(::GetWindowTextLengthA(Text2(window)));
    inserts = recorder.inserted.size();
    recorder.Detach(Text2(window));
    return elapsed;
}

void Throughput(ktv::ProcessCapture& capture) {
    std::vector<double> bare;
    std::vector<double> windowed;
    std::size_t bytes = 0;
    std::size_t shown = 0;
    std::size_t inserts = 0;
    for (int round = 0; round < 3; ++round) {
        bare.push_back(BareRead(capture, bytes));
        windowed.push_back(WindowCapture(capture, bytes, shown, inserts));
    }
    std::printf(
        "throughput: %zu bytes read bare in %.3f s; %zu characters shown in the window in"
        " %.3f s (%zu inserts in the last round); median of 3 rounds\n",
        bytes, Median(bare), shown, Median(windowed), inserts);
    std::printf("throughput ratio window/bare: %.2f (target <= 2.00)\n",
                Median(windowed) / Median(bare));
    PrintResult("capture 10 MB into the window", Format(Median(windowed), 3, "s"),
                Format(Median(bare), 3, "s bare pipe read"), Median(windowed) / Median(bare), 2.0);
}

double AppendChunks(HWND edit, const std::string& chunk, int count) {
    const double start = Seconds();
    for (int i = 0; i < count; ++i) {
        ktv::win32::AppendToEdit(edit, chunk);
    }
    return (Seconds() - start) / count;
}

// Appending 1023-byte chunks one by one up to 10 MB takes too long under Wine
// to run whole; the box is filled to 9 MB in large pieces instead, and a
// sample of single chunks is timed at the start and at 9 MB.
void Growth(HINSTANCE instance, DWORD extraStyle = 0) {
    HWND edit = ::CreateWindowExA(0, "EDIT", "",
                                  WS_OVERLAPPEDWINDOW | WS_VSCROLL | ES_MULTILINE | extraStyle, 0,
                                  0, 700, 400, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(edit, SW_SHOW);
    ktv::win32::RemoveTextLimit(edit);
    std::string chunk;
    while (chunk.size() + 100 <= 1000) {
        chunk += std::string(98, 'y') + "\r\n";
    }
    chunk += std::string(1023 - chunk.size(), 'z') + "\r\n";
    constexpr int kSample = 50;
    const double first = AppendChunks(edit, chunk, kSample);
    std::string megabyte;
    while (megabyte.size() < static_cast<std::size_t>(kMegabyte)) {
        megabyte += chunk;
    }
    while (::GetWindowTextLengthA(edit) < 9 * kMegabyte) {
        ktv::win32::AppendToEdit(edit, megabyte);
    }
    const double late = AppendChunks(edit, chunk, kSample);
    ::DestroyWindow(edit);
    std::printf(
        "growth: one %zu-byte chunk appended to an empty box %.1f us, to a 9 MB box %.1f us"
        " (%d chunks each)\n",
        chunk.size(), 1e6 * first, 1e6 * late, kSample);
    std::printf("growth ratio at 9 MB/at start: %.2f\n", late / first);
    if (extraStyle == 0) {
        PrintResult("capture per-chunk cost, 9 MB box", Format(1e6 * late, 1, "us"),
                    Format(1e6 * first, 1, "us empty box"), late / first, 1.5);
    }
}

void Latency(ktv::ProcessCapture& capture) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    ktv::win32::CaptureWindow window(::GetModuleHandleA(nullptr), capture);
    std::vector<double> latencies;
    for (int run = 0; run < 20; ++run) {
        Recorder recorder;
        recorder.Attach(Text2(window));
        window.Redir(WriterCommand("stamp sleep:100"));
        PumpUntilShown(window, 8);  // "stamp=" and the first digits
        recorder.Detach(Text2(window));
        for (std::size_t i = 0; i < recorder.inserted.size(); ++i) {
            const std::size_t at = recorder.inserted[i].find("stamp=");
            if (at != std::string::npos) {
                const long long written = std::stoll(recorder.inserted[i].substr(at + 6));
                latencies.push_back(1000.0 * static_cast<double>(recorder.insertedAt[i] - written) /
                                    static_cast<double>(frequency.QuadPart));
            }
        }
    }
    if (latencies.empty()) {
        std::printf("latency: no stamp arrived\n");
        std::printf("RESULT|capture first line visible|not measured|-|-|1.00\n");
        return;
    }
    std::printf("latency: %zu runs, written-to-shown median %.2f ms, max %.2f ms (target <= 50)\n",
                latencies.size(), Median(latencies),
                *std::max_element(latencies.begin(), latencies.end()));
    const double worst = *std::max_element(latencies.begin(), latencies.end());
    PrintResult("capture first line visible (median)",
                Format(Median(latencies), 2, "ms, max ") + Format(worst, 2, "ms"), "50 ms limit",
                Median(latencies) / 50.0, 1.0);
}

}  // namespace

// Runs all three measurements, or those named as arguments (throughput,
// growth, latency).
int main(int argc, char** argv) {
    const std::vector<std::string> chosen(argv + 1, argv + argc);
    auto wanted = [&](const char* name) {
        return chosen.empty() || std::find(chosen.begin(), chosen.end(), name) != chosen.end();
    };
    ktv::win32::Win32ProcessCapture capture;
    if (wanted("throughput")) {
        Throughput(capture);
    }
    if (wanted("growth")) {
        Growth(::GetModuleHandleA(nullptr));
    }
    if (std::find(chosen.begin(), chosen.end(), "nowrap") != chosen.end()) {
        Growth(::GetModuleHandleA(nullptr), ES_AUTOHSCROLL | WS_HSCROLL);
    }
    if (wanted("latency")) {
        Latency(capture);
    }
    return 0;
}
