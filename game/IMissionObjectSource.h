#pragma once
// A mission's objects as a search reads them: from the editor's memory, where a
// loaded mission holds them with its unsaved edits, or from its object file.

#include <string>

class ISceneFileOwner;

class IMissionObjectSource {
public:
    virtual ~IMissionObjectSource() = default;

    // The mission's name, as the catalogue lists it.
    virtual const std::string& GetMissionName() const = 0;

    // Objects in memory belong to the interface thread, which edits them: only that
    // thread may read them. Objects from a file may be read by any one thread.
    virtual bool IsInMemory() const = 0;

    // The objects, valid until the next call, Release or the source's end. Throws
    // CVerdaxException when they cannot be read.
    virtual const ISceneFileOwner& GetObjects() = 0;

    // Gives back the memory of objects read from a file; nothing for objects in memory.
    virtual void Release() {}

protected:
    IMissionObjectSource() = default;
    IMissionObjectSource(const IMissionObjectSource&) = default;
    IMissionObjectSource& operator=(const IMissionObjectSource&) = default;
};
