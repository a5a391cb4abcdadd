#include "game/CRecoveryWriter.h"

#include "game/CMission.h"

#include <algorithm>
#include <exception>

CRecoveryWriter::CRecoveryWriter(CRecoveryStore& store, ResultHandler handler)
    : store_(store), handler_(std::move(handler)), thread_([this] { Run(); })
{
}

CRecoveryWriter::~CRecoveryWriter()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void CRecoveryWriter::WriteMission(CMission& mission, const std::string& installFolder, std::int64_t undoSteps)
{
    Key key{installFolder, mission.GetName()};
    const auto size = lastSize_.find(key);
    std::unique_ptr<CMemoryWriteBuffer> spare;
    {
        std::lock_guard lock(mutex_);
        if (!spare_.empty()) {
            spare = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    RecoverySnapshot snapshot = TakeRecoverySnapshot(mission, installFolder, undoSteps,
                                                     size == lastSize_.end() ? 0 : size->second, std::move(spare));
    lastSize_.insert_or_assign(std::move(key), snapshot.Bytes().size());
    Write(std::move(snapshot));
}

void CRecoveryWriter::Write(RecoverySnapshot snapshot)
{
    Key key{snapshot.installFolder, snapshot.missionName};
    Queue({std::move(key), std::move(snapshot)});
}

void CRecoveryWriter::Remove(std::string installFolder, std::string missionName)
{
    Queue({{std::move(installFolder), std::move(missionName)}, std::nullopt});
}

void CRecoveryWriter::Queue(Request request)
{
    {
        std::lock_guard lock(mutex_);
        const auto same = std::ranges::find(waiting_, request.key, &Request::key);
        if (same != waiting_.end())
            *same = std::move(request);
        else
            waiting_.push_back(std::move(request));
    }
    wake_.notify_one();
}

void CRecoveryWriter::WaitUntilIdle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return waiting_.empty() && !busy_; });
}

void CRecoveryWriter::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (waiting_.empty())
            return;  // stopping, with nothing left
        Request request = std::move(waiting_.front());
        waiting_.pop_front();
        busy_ = true;
        lock.unlock();
        const Result result = Carry(request);
        if (handler_)
            handler_(result);
        lock.lock();
        if (request.snapshot && request.snapshot->buffer && spare_.size() < kSpareBuffers)
            spare_.push_back(std::move(request.snapshot->buffer));
        busy_ = false;
        if (waiting_.empty())
            idle_.notify_all();
    }
}

CRecoveryWriter::Result CRecoveryWriter::Carry(const Request& request)
{
    Result result{request.key.first, request.key.second, !request.snapshot, {}};
    try {
        result.outcome = request.snapshot ? store_.Write(*request.snapshot)
                                          : store_.RemoveOwn(request.key.first, request.key.second);
    } catch (const std::exception& error) {
        result.outcome = {false, error.what()};
    }
    return result;
}
