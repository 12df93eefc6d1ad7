// Cancel latency of an upload that a local service has stopped reading: the time from
// the click to the worker thread's end (goal 1 s), and to FinishTransfer closing the
// window at the transfer window's next 300 ms tick (goal one tick). The window's timer
// is played by a loop on this thread at the real interval, with the click falling at a
// random moment between two ticks.
//
//   transfer_cancel_bench [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/define.h"
#include "service/http_client_init.h"
#include "service/local_service_fixture.h"
#include "service/session_cookie.h"
#include "service/transfer.h"

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;
using namespace std::chrono_literals;
using namespace tavisnap;

constexpr auto kTick = 300ms;
constexpr double kWorkerGoalMs = 1000;
constexpr double kWindowGoalMs = 300;

struct Round {
  double worker_end_ms;  // click -> worker thread ended
  double window_ms;      // click -> FinishTransfer closed the window
  double tick_cost_ms;   // the user-interface thread's time in that tick
};

// Waits until the bytes sent stop growing: the service's buffers are full.
bool WaitForStall() {
  int64_t last = -1;
  for (Clock::time_point end = Clock::now() + 20s; Clock::now() < end;) {
    std::this_thread::sleep_for(200ms);
    int64_t now = CurrentTransferProgress().Position;
    if (now > 0 && now == last) return true;
    last = now;
  }
  return false;
}

Round OneRound(const std::string& url, const std::string& picture, std::mt19937& random) {
  TransferShown();
  ThrdInfo.Busy = true;
  if (!RunTransfer(url, {{kFormText, "txtEmailTo[0]", "to@example.jp"},
                         {kFormFile, "fileCapUp[0]", picture},
                         {kFormText, "SubmitCapUpComp", "1"}})) {
    std::fprintf(stderr, "the worker did not start\n");
    std::exit(1);
  }
  if (!WaitForStall()) {
    std::fprintf(stderr, "the upload did not come to a halt\n");
    std::exit(1);
  }
  // The timer runs from the window's showing; the click lands somewhere between ticks.
  Clock::time_point next_tick = Clock::now() + kTick;
  auto offset = std::chrono::microseconds(std::uniform_int_distribution<int>(0, 299999)(random));
  std::this_thread::sleep_until(next_tick - kTick + offset);
  if (Clock::now() >= next_tick) next_tick += kTick;

  Clock::time_point click = Clock::now();
  TransferCancelClicked();
  Round round{};
  bool worker_ended = false;
  bool closed = false;
  while (!closed || !worker_ended) {
    if (!worker_ended && LiveTransferWorkers() == 0) {
      worker_ended = true;
      round.worker_end_ms = Millis(Clock::now() - click).count();
    }
    if (!closed && Clock::now() >= next_tick) {
      Clock::time_point tick = Clock::now();
      if (TransferTimerTick() && FinishTransfer()) {
        closed = true;
        round.window_ms = Millis(Clock::now() - click).count();
        round.tick_cost_ms = Millis(Clock::now() - tick).count();
      }
      next_tick += kTick;
    }
    if (Millis(Clock::now() - click).count() > 65000) {
      std::fprintf(stderr, "the cancel did not finish within 65 s\n");
      std::exit(1);
    }
    std::this_thread::sleep_for(200us);
  }
  if (ThrdInfo.ReplyText() != "CANCEL" || ThrdInfo.Busy) {
    std::fprintf(stderr, "the cancel did not report \"CANCEL\"\n");
    std::exit(1);
  }
  return round;
}

double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(q * static_cast<double>(values.size() - 1) + 0.5)];
}

// goal 0: shown without a goal.
void Print(const char* what, const std::vector<double>& values, double goal) {
  double median = Quantile(values, 0.5), p90 = Quantile(values, 0.9);
  double worst = *std::max_element(values.begin(), values.end());
  std::printf("%-34s median %8.2f ms  p90 %8.2f ms  max %8.2f ms", what, median, p90, worst);
  if (goal > 0) {
    std::printf("  goal %5.0f ms  median/goal %.3f  max/goal %.3f", goal, median / goal,
                worst / goal);
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  if (rounds < 1) {
    std::fprintf(stderr, "usage: transfer_cancel_bench [ROUNDS]\n");
    return 2;
  }
  InitHttpClient();
  testing::LocalService service;
  CaFile = service.CaFile();
  std::string folder = service.StateDir() + "/bench";
  std::filesystem::create_directories(folder);
  std::string picture = folder + "/capture.jpg";
  if (std::FILE* f = std::fopen(picture.c_str(), "wb")) std::fclose(f);
  std::filesystem::resize_file(picture, 256 << 20);  // sparse: costs no disk
  service.SetBehaviour({{"read_stop_after", "1000000"}, {"answer", "1"}});

  std::mt19937 random(4242);
  std::vector<double> worker, window, tick;
  for (int i = 0; i < rounds; ++i) {
    Round r = OneRound(service.ActionUrl(), picture, random);
    worker.push_back(r.worker_end_ms);
    window.push_back(r.window_ms);
    tick.push_back(r.tick_cost_ms);
  }
  std::printf("cancel of a 256 MB upload the service stopped reading after 1 MB, %d rounds\n",
              rounds);
  Print("click -> worker thread ended", worker, kWorkerGoalMs);
  Print("click -> window closed by a tick", window, kWindowGoalMs);
  Print("user-interface time in that tick", tick, 0);
  return 0;
}
