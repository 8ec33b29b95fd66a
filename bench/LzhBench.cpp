// LZH expansion and skin unpacking against a plain expander of the format (PlainLzh.h), on
// 4 MiB of mixed data, a skin-sized archive and an 8 MiB skin holding one 24-bit BMP; and the
// `skinpack unpack` program against the plain expander as a program (plain_lzh), each run as
// a process of its own on the 8 MiB skin file, as a user runs them.
//
// Each benchmark times its subject and the plain expander of the same stream alternately,
// one after the other in every iteration, so that both meet the same load of the machine.
// Times are the CPU time of the running thread (user and system), which other programs on a
// busy machine disturb less than the wall clock. The iteration time is the subject's;
// "plain_ms" is the plain expander's mean and "ratio" the subject's time over the plain
// expander's (below 1: the subject is faster).
#include "BmpFile.h"
#include "PlainLzh.h"
#include "SkinArchiveWriter.h"
#include "SkinLzh.h"
#include "SkinLzhEncoder.h"
#include "SkinReader.h"
#include "SkinTestData.h"
#include "SkinpackCommands.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

struct Input {
  Bytes data;   // the expanded bytes
  Bytes stream; // their LZH bit stream
};

const Input& Mixed() {
  static const Input input = [] {
    Input in;
    in.data = skintest::Mixed(std::size_t(4) << 20, 2024);
    in.stream = TLZHEncoder().Encode(in.data);
    return in;
  }();
  return input;
}

// About the size of a real skin: 36 images and a description, 229 500 bytes in all.
const Input& SkinLike() {
  static const Input input = [] {
    std::vector<TSkinArchiveEntry> entries;
    for (int i = 0; i < 36; ++i)
      entries.push_back({"image" + std::to_string(i) + ".bmp",
                         skintest::ImageLike(1200 + std::size_t(i % 9) * 1000, uint64_t(i))});
    std::size_t size = 16 + 69;
    for (const auto& e : entries)
      size += e.Name.size() + 2 + 4 + e.Data.size();
    const std::string ini = skintest::TextLike(229500 - size - 12 - 4, 77);
    entries.push_back({"skin.ini", Bytes(ini.begin(), ini.end())});
    Input in;
    in.data = BuildSkinArchive(entries);
    in.stream = TLZHEncoder().Encode(in.data);
    return in;
  }();
  return input;
}

// A skin of one 2048 x 1365 24-bit BMP (8 MiB) of image-like rows and a short description.
const Input& BmpSkin() {
  static const Input input = [] {
    BmpFile::TBmpImage image = BmpFile::Create(2048, 1365, 24);
    const Bytes pixels = skintest::ImageLike(image.Pixels.size(), 8);
    std::copy(pixels.begin(), pixels.end(), image.Pixels.begin());
    const std::string ini = "[Personality]\r\nTop=top.bmp\r\n";
    Input in;
    in.data = BuildSkinArchive(
        {{"top.bmp", BmpFile::Encode(image)}, {"skin.ini", Bytes(ini.begin(), ini.end())}});
    in.stream = TLZHEncoder().Encode(in.data);
    return in;
  }();
  return input;
}

// A folder of its own for the files the unpack benchmark reads and writes; removed at exit.
class TempFolder {
public:
  TempFolder()
      : path_(fs::temp_directory_path() / ("tarnel_bench_lzh_" + std::to_string(getpid()))) {
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& Path() const { return path_; }

private:
  fs::path path_;
};

const TempFolder& Temp() {
  static const TempFolder folder;
  return folder;
}

// The 8 MiB skin as a skin file (32-bit expanded size, then the stream).
const fs::path& BmpSkinFile() {
  static const fs::path file = [] {
    const Input& in = BmpSkin();
    const fs::path path = Temp().Path() / "bmp8.skin";
    std::ofstream out(path, std::ios::binary);
    const uint32_t size = uint32_t(in.data.size());
    const char head[4] = {char(size), char(size >> 8), char(size >> 16), char(size >> 24)};
    out.write(head, 4);
    out.write(reinterpret_cast<const char*>(in.stream.data()), std::streamsize(in.stream.size()));
    return path;
  }();
  return file;
}

// The baseline: the plain expander on the stream in memory, into a buffer made beforehand.
struct Plain {
  const Input& in;
  Bytes out;
  explicit Plain(const Input& input) : in(input), out(input.data.size() + TLZH::F) {}
  void Run() {
    plainlzh::expand(in.stream.data(), in.stream.size(), out.data(), in.data.size());
    benchmark::DoNotOptimize(out.data());
  }
  // Whether the last run gave the data back.
  bool Right() const { return std::equal(in.data.begin(), in.data.end(), out.begin()); }
};

// CPU time of the calling thread, in seconds.
double CpuNow() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Times `subject` against the plain expander of `input`, alternating which runs first.
template <class Subject>
void Paired(benchmark::State& state, const Input& input, Subject subject) {
  Plain plain(input);
  plain.Run();
  if (!plain.Right()) {
    state.SkipWithError("the plain expander does not give the data back");
    return;
  }
  double subjectTotal = 0, plainTotal = 0;
  bool subjectFirst = true;
  for (auto _ : state) {
    double p = 0;
    if (!subjectFirst) {
      const double t0 = CpuNow();
      plain.Run();
      p = CpuNow() - t0;
    }
    const double t0 = CpuNow();
    const bool ok = subject();
    const double s = CpuNow() - t0;
    if (subjectFirst) {
      const double t1 = CpuNow();
      plain.Run();
      p = CpuNow() - t1;
    }
    if (!ok) {
      state.SkipWithError("the subject failed");
      return;
    }
    state.SetIterationTime(s);
    subjectTotal += s;
    plainTotal += p;
    subjectFirst = !subjectFirst;
  }
  if (plainTotal > 0) {
    state.counters["ratio"] = subjectTotal / plainTotal;
    state.counters["plain_ms"] = plainTotal * 1e3 / double(state.iterations());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input.data.size()));
}

// The program's expander on the stream in memory.
void ExpandVsPlain(benchmark::State& state, const Input& (*get)()) {
  const Input& in = get();
  TLZH lzh;
  Bytes out;
  Paired(state, in, [&] {
    lzh.Expand(int32_t(in.data.size()), in.stream, out);
    benchmark::DoNotOptimize(out.data());
    return true;
  });
  if (out != in.data) state.SkipWithError("expanded bytes differ");
}

// Expanding and parsing a stored skin, as the program opens one.
void OpenArchiveVsPlain(benchmark::State& state, const Input& (*get)()) {
  const Input& in = get();
  Bytes stored = {uint8_t(in.data.size()), uint8_t(in.data.size() >> 8),
                  uint8_t(in.data.size() >> 16), uint8_t(in.data.size() >> 24)};
  stored.insert(stored.end(), in.stream.begin(), in.stream.end());
  Paired(state, in, [&] {
    TSkinReader reader;
    const bool ok = reader.OpenArchive(stored);
    benchmark::DoNotOptimize(reader.EntryCount());
    return ok;
  });
}

// The whole `skinpack unpack` of the 8 MiB skin file: read the file, expand, parse, write
// every entry to a folder.
void UnpackVsPlain(benchmark::State& state) {
  const fs::path& file = BmpSkinFile();
  const fs::path folder = Temp().Path() / "unpacked";
  Paired(state, BmpSkin(), [&] {
    std::ostringstream out, err;
    return RunSkinpack({"unpack", file.string(), folder.string()}, out, err) == 0;
  });
}

// Runs a program with its standard output and error discarded; gives the CPU time (user and
// system) it took, or a negative value when it could not be run or failed.
double RunProcess(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return -1;
  auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// `skinpack unpack` of the 8 MiB skin file against `plain_lzh` expanding the same file, both
// as processes, alternating which runs first. Counters as for the other benchmarks.
void UnpackProcessVsPlainProcess(benchmark::State& state) {
  const std::string file = BmpSkinFile().string();
  const std::vector<std::string> unpack = {SKINPACK_EXE, "unpack", file,
                                           (Temp().Path() / "unpacked_process").string()};
  const std::vector<std::string> plain = {PLAIN_LZH_EXE, file,
                                          (Temp().Path() / "plain.out").string()};
  double unpackTotal = 0, plainTotal = 0;
  bool unpackFirst = true;
  for (auto _ : state) {
    double p = 0, u = 0;
    if (!unpackFirst) p = RunProcess(plain);
    u = RunProcess(unpack);
    if (unpackFirst) p = RunProcess(plain);
    if (u < 0 || p < 0) {
      state.SkipWithError("a program failed");
      return;
    }
    state.SetIterationTime(u);
    unpackTotal += u;
    plainTotal += p;
    unpackFirst = !unpackFirst;
  }
  std::ifstream written(plain[2], std::ios::binary);
  if (Bytes(std::istreambuf_iterator<char>(written), {}) != BmpSkin().data) {
    state.SkipWithError("plain_lzh does not give the data back");
    return;
  }
  if (plainTotal > 0) {
    state.counters["ratio"] = unpackTotal / plainTotal;
    state.counters["plain_ms"] = plainTotal * 1e3 / double(state.iterations());
  }
}

BENCHMARK_CAPTURE(ExpandVsPlain, mixed_4MiB, &Mixed)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExpandVsPlain, skin_229500, &SkinLike)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ExpandVsPlain, bmp_8MiB, &BmpSkin)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenArchiveVsPlain, skin_229500, &SkinLike)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(UnpackVsPlain)
    ->Name("UnpackVsPlain/bmp_8MiB")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(UnpackProcessVsPlainProcess)
    ->Name("UnpackProcessVsPlainProcess/bmp_8MiB")
    ->UseManualTime()
    ->MinTime(2.0)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
