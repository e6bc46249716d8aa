#include "app/run_workers.h"

#include <algorithm>
#include <utility>

#include "app/installer_run.h"
#include "app/program_commands.h"
#include "runtime/entry_table.h"

#include <windows.h>

namespace ruvelto::app {
namespace {

// DLL commands of the program image.
enum DllCommand : uint32_t {
    kCloseHandle = 10, kCreateEventA = 17, kGetTempFileNameA = 23, kDeleteFileA = 25, kGetFileAttributesA = 26,
    kGetLastError = 28, kSetLastError = 29, kCreateThread = 49, kWaitForMultipleObjects = 50, kSetEvent = 51,
    kGetSystemInfo = 52,
};
// The commands the workers call. Resolving one writes its slot of the runtime's table, which the
// window's thread does for them before any worker starts.
constexpr uint32_t kWorkerCommands[] = {kGetTempFileNameA, kDeleteFileA, kGetFileAttributesA,
                                        kGetLastError,     kSetLastError, kSetEvent};

constexpr int kMostWorkers = 4;
// How far the workers may run ahead of the picture the window's thread takes: enough to keep
// each of them busy while the window's thread puts files in place, not so far that finished
// temporary files pile up while it is held (a menu open, the window being moved).
constexpr size_t kAheadPerWorker = 2;

DWORD WINAPI WorkerThread(void* worker) {
    RunWorkers::Work(worker);
    return 0;
}

}  // namespace

int RunWorkers::Count() {
    SYSTEM_INFO system{};
    runtime::CallDllCommand<void>(kGetSystemInfo, &system);
    return std::clamp(static_cast<int>(system.dwNumberOfProcessors), 1, kMostWorkers);
}

RunWorkers::RunWorkers(const std::vector<PlannedPicture>& pictures, const RunOptions& options)
    : pictures_(pictures), options_(options) {
    for (uint32_t command : kWorkerCommands) runtime::ResolveDllCommand(command);
    ready_ = runtime::CallDllCommand<void*>(kCreateEventA, static_cast<void*>(nullptr), 0, 0,
                                            static_cast<const char*>(nullptr));
    const int count = ready_ ? std::min<size_t>(Count(), pictures.size()) : 0;
    // Every worker is in place before the first starts: the threads hold their addresses.
    workers_.resize(count);
    for (Worker& worker : workers_) {
        worker.owner = this;
        worker.object = NewImageObjectSlot();
    }
    ahead_ = kAheadPerWorker * workers_.size();
    for (Worker& worker : workers_) {
        worker.thread = runtime::CallDllCommand<void*>(kCreateThread, static_cast<void*>(nullptr), size_t{0},
                                                       &WorkerThread, &worker, 0u, static_cast<void*>(nullptr));
        if (worker.thread) ++started_;
    }
    // A worker that could not start leaves its part to the others, or to the window's thread.
    if (!started_) ownObject_ = NewImageObjectSlot();
}

RunWorkers::~RunWorkers() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        ending_ = true;
    }
    moved_.notify_all();
    std::vector<void*> threads;
    for (Worker& worker : workers_)
        if (worker.thread) threads.push_back(worker.thread);
    // A picture under way is finished (its files deleted below): a thread is never cut off in
    // the middle of a file.
    if (!threads.empty())
        runtime::CallDllCommand<uint32_t>(kWaitForMultipleObjects, static_cast<uint32_t>(threads.size()),
                                          threads.data(), 1, static_cast<uint32_t>(INFINITE));
    for (Worker& worker : workers_) {
        if (worker.thread) runtime::CallDllCommand<int>(kCloseHandle, worker.thread);
        ReleaseImageObject(worker.object);
    }
    for (auto& [index, result] : results_) DiscardOutputs(result);
    ReleaseImageObject(ownObject_);
    if (ready_) runtime::CallDllCommand<int>(kCloseHandle, ready_);
}

ConvertedPicture RunWorkers::ConvertOne(size_t index, uint32_t* object) {
    // Each picture in a new object: nothing a picture left in an object (its transparency, its
    // settings) can reach the next, whichever worker took which pictures before.
    EmptyImageObjectSlot(object);
    ImageObjectScope scope(object);
    return ConvertPicture(pictures_[index], options_);
}

void RunWorkers::Work(void* argument) {
    Worker& worker = *static_cast<Worker*>(argument);
    RunWorkers& run = *worker.owner;
    for (;;) {
        size_t index = 0;
        {
            std::unique_lock<std::mutex> hold(run.lock_);
            run.moved_.wait(hold, [&] {
                return run.ending_ || run.next_ >= run.pictures_.size() || run.next_ < run.taken_ + run.ahead_;
            });
            if (run.ending_ || run.next_ >= run.pictures_.size()) return;
            index = run.next_++;
        }
        ConvertedPicture result = run.ConvertOne(index, worker.object);
        {
            std::lock_guard<std::mutex> hold(run.lock_);
            run.results_.emplace(index, std::move(result));
        }
        runtime::CallDllCommand<int>(kSetEvent, run.ready_);
    }
}

ConvertedPicture RunWorkers::Take(size_t index) {
    if (!started_) return ConvertOne(index, ownObject_);
    for (;;) {
        {
            std::lock_guard<std::mutex> hold(lock_);
            auto found = results_.find(index);
            if (found != results_.end()) {
                ConvertedPicture result = std::move(found->second);
                results_.erase(found);
                taken_ = index + 1;
                moved_.notify_all();
                return result;
            }
        }
        // Each stored result sets the event, so no result comes in unnoticed between the look
        // above and the wait.
        WaitHandlingMessages(ready_, INFINITE);
    }
}

}  // namespace ruvelto::app
