#pragma once

#include <string>

// Failures the user cannot act on: one line each, for a report of what went wrong.
class FailureLog {
public:
    virtual ~FailureLog() = default;
    virtual void Failure(const std::string& line) = 0;
};
