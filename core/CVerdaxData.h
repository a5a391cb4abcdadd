#pragma once
// The common base of every editable data object: missions and the objects of the
// scene file. It holds nothing; views keep their current object as a pointer to it
// and tell the kind of object by its run-time type.

class CVerdaxData {
public:
    CVerdaxData() = default;
    virtual ~CVerdaxData() = default;

protected:
    CVerdaxData(const CVerdaxData&) = default;
    CVerdaxData& operator=(const CVerdaxData&) = default;
};
