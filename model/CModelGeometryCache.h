#pragma once
// The process-wide cache of read 4DS files: the models loaded from one file share one
// ModelGeometry. It holds the geometry only weakly, so that a file's geometry goes
// with the last model that uses it, and hands it out only while the file on disk is
// still the version read and the texture cache still holds the textures that its
// materials name. Used from one thread, as the texture cache is.

#include "model/FileBytes.h"
#include "model/ModelData.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

class CModelGeometryCache {
public:
    // The one cache, created at first use and destroyed at process exit.
    static CModelGeometryCache& Instance();

    CModelGeometryCache(const CModelGeometryCache&) = delete;
    CModelGeometryCache& operator=(const CModelGeometryCache&) = delete;

    // The geometry read from `resolvedPath` when that file still has `identity`, some
    // model still uses the geometry and the texture cache has not been cleared since;
    // null otherwise.
    std::shared_ptr<const ModelGeometry> Find(const std::string& resolvedPath, const FileIdentity& identity);
    // Records `geometry` as the content of the file of that identity, in place of any
    // earlier version of the file.
    void Add(const std::string& resolvedPath, const FileIdentity& identity,
             const std::shared_ptr<const ModelGeometry>& geometry);

    // Files whose geometry some model still uses.
    std::size_t GetLiveCount() const;
    void Clear() { entries_.clear(); }

private:
    CModelGeometryCache() = default;

    struct Entry {
        FileIdentity identity;
        std::uint64_t textureGeneration = 0;
        std::weak_ptr<const ModelGeometry> geometry;
    };

    void DropUnused();

    std::unordered_map<std::string, Entry> entries_;
    std::size_t sizeAfterLastSweep_ = 0;
};
