#pragma once
// What the editing models need from the application object: who is logged in
// and the local track library. The application object implements both; either
// may be absent.
#include <cstdint>
#include <string>

class IEditingSession {
public:
    /// Empty while nobody is logged in.
    virtual std::string SessionToken() const = 0;
    virtual std::string CurrentHandle() const = 0;
    virtual std::int32_t CurrentUserId() const = 0;

protected:
    ~IEditingSession() = default;
};

/// Performance number -> the member's MP3 file.
class ILocalTrackLibrary {
public:
    virtual void RecordLocalFile(std::int32_t performanceID, const std::string& path) = 0;
    /// Empty when the library holds no file for the number.
    virtual std::string GetLocalFile(std::int32_t performanceID) const = 0;

protected:
    ~ILocalTrackLibrary() = default;
};
