#pragma once
// Writes the editor's recovery copies on a thread of its own, so that the interface
// does not wait for the disk. The interface thread takes a mission's bytes (they are
// read from its objects: WriteMission, or TakeRecoverySnapshot and Write) and hands
// them over; the thread writes them into the store. Removals go the same way, so
// that each mission's writes and removals reach the disk in the order they were
// asked for.
//
// The memory a snapshot was taken into is kept once its write is done and takes a
// later one, so that taking a large mission again touches no fresh pages.
//
// Only the last request for a mission matters: a write or removal still waiting
// when another comes for the same mission is replaced by it. A removal asked for
// after a write therefore never finds that write arriving later.

#include "game/CRecoveryStore.h"
#include "game/RecoverySnapshot.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class CMission;

class CRecoveryWriter {
public:
    struct Result {
        std::string installFolder;
        std::string missionName;
        bool removal = false;
        RecoveryOutcome outcome;
    };
    // Called on the writer's thread after each write or removal; the editor passes
    // the result to its interface thread itself.
    using ResultHandler = std::function<void(const Result&)>;

    // Starts the thread; `store` must outlive the writer.
    explicit CRecoveryWriter(CRecoveryStore& store, ResultHandler handler = {});
    // Carries out what is still waiting, then stops the thread.
    ~CRecoveryWriter();
    CRecoveryWriter(const CRecoveryWriter&) = delete;
    CRecoveryWriter& operator=(const CRecoveryWriter&) = delete;

    // Interface thread: takes `mission` (loaded) now and hands it to the thread.
    // Throws, as a save does, when the scene file's writer fails; nothing is queued then.
    void WriteMission(CMission& mission, const std::string& installFolder, std::int64_t undoSteps);
    // Any thread: queues a snapshot taken already, or the removal of this editor's
    // entry of a mission (after a save, "Не сохранять", undo back to the saved state).
    void Write(RecoverySnapshot snapshot);
    void Remove(std::string installFolder, std::string missionName);

    // Returns once nothing is waiting or being written.
    void WaitUntilIdle();

private:
    using Key = std::pair<std::string, std::string>;  // install folder, mission name
    struct Request {
        Key key;
        std::optional<RecoverySnapshot> snapshot;  // none: a removal
    };

    void Queue(Request request);
    void Run();
    Result Carry(const Request& request);

    CRecoveryStore& store_;
    ResultHandler handler_;
    std::map<Key, std::size_t> lastSize_;  // of each mission's snapshot; interface thread only
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Request> waiting_;
    static constexpr std::size_t kSpareBuffers = 2;
    std::vector<std::unique_ptr<CMemoryWriteBuffer>> spare_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;  // last: started once everything it uses is there
};
