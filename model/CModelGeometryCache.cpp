#include "model/CModelGeometryCache.h"

#include "model/CTextureManager.h"

#include <algorithm>
#include <iterator>

namespace {

// Entries whose geometry has gone are swept out once the map has grown this much
// beyond what the last sweep left, so that the sweeps cost O(1) per Add on average.
constexpr std::size_t kSweepSlack = 64;

}  // namespace

CModelGeometryCache& CModelGeometryCache::Instance()
{
    static CModelGeometryCache cache;
    return cache;
}

std::shared_ptr<const ModelGeometry> CModelGeometryCache::Find(const std::string& resolvedPath,
                                                               const FileIdentity& identity)
{
    const auto found = entries_.find(resolvedPath);
    if (found == entries_.end())
        return nullptr;
    const Entry& entry = found->second;
    // Materials hold GL names and texture pointers of the cache's generation they were
    // read in; after a clear those belong to an old context or are gone.
    auto geometry = entry.geometry.lock();
    if (!geometry || entry.identity != identity ||
        entry.textureGeneration != CTextureManager::Instance().GetGeneration()) {
        entries_.erase(found);
        return nullptr;
    }
    return geometry;
}

void CModelGeometryCache::Add(const std::string& resolvedPath, const FileIdentity& identity,
                              const std::shared_ptr<const ModelGeometry>& geometry)
{
    entries_.insert_or_assign(resolvedPath, Entry{identity, CTextureManager::Instance().GetGeneration(), geometry});
    if (entries_.size() > 2 * sizeAfterLastSweep_ + kSweepSlack)
        DropUnused();
}

std::size_t CModelGeometryCache::GetLiveCount() const
{
    return static_cast<std::size_t>(
        std::ranges::count_if(entries_, [](const auto& entry) { return !entry.second.geometry.expired(); }));
}

void CModelGeometryCache::DropUnused()
{
    std::erase_if(entries_, [](const auto& entry) { return entry.second.geometry.expired(); });
    sizeAfterLastSweep_ = entries_.size();
}
