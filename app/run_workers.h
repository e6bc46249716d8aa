// The threads that convert a run's pictures ahead of the window's thread, one a processor, each
// in an image object of its own. The window's thread takes their results in list order and puts
// the files in place; while it waits it lets window messages through, so the controls stay live.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "app/picture_conversion.h"

namespace ruvelto::app {

class RunWorkers {
public:
    // Starts converting the pictures, from the first, with the options; both must outlive the
    // workers. Workers run at most a few pictures ahead of the one last taken.
    RunWorkers(const std::vector<PlannedPicture>& pictures, const RunOptions& options);
    // Lets the pictures under way finish, then ends the workers, deletes the files of every
    // result not taken and releases the workers' image objects.
    ~RunWorkers();
    RunWorkers(const RunWorkers&) = delete;
    RunWorkers& operator=(const RunWorkers&) = delete;

    // The result of picture index (taken once, in increasing order), waited for with the
    // window's messages let through. The caller puts its files in place or discards them.
    ConvertedPicture Take(size_t index);

    // How many workers a run has: one a processor, at least one and at most four (each holds
    // a decoded picture, and the program's memory is that of a 32-bit program).
    static int Count();

    // The body of a worker thread; its argument is the worker.
    static void Work(void* worker);

private:
    struct Worker {
        RunWorkers* owner = nullptr;
        uint32_t* object = nullptr;  // the worker's image object slot
        void* thread = nullptr;
    };
    // Converts picture index in the object; the window's thread does it itself when no
    // worker thread could be started.
    ConvertedPicture ConvertOne(size_t index, uint32_t* object);

    const std::vector<PlannedPicture>& pictures_;
    const RunOptions& options_;
    std::vector<Worker> workers_;  // never resized while the threads run: they hold their own
    int started_ = 0;
    size_t ahead_ = 0;  // how many pictures past the last taken the workers may take up
    uint32_t* ownObject_ = nullptr;  // the image object of a run without worker threads
    void* ready_ = nullptr;  // set each time a result is stored

    std::mutex lock_;
    std::condition_variable moved_;  // a picture was taken, or the workers are to end
    size_t next_ = 0;                // the next picture a worker takes up
    size_t taken_ = 0;               // pictures taken by the window's thread
    bool ending_ = false;
    std::map<size_t, ConvertedPicture> results_;
};

}  // namespace ruvelto::app
