#pragma once

// The desktop session manager's request to end the session (log-out, shut-down), as the
// window answers it. QSessionManager cannot be made outside Qt, so tests hand in their own.
class SessionEndRequest
{
public:
    virtual ~SessionEndRequest() = default;
    // Asks for leave to show a dialog; when granted, release() or cancel() must follow.
    virtual bool allowsInteraction() = 0;
    // Done interacting: the session may end.
    virtual void release() = 0;
    // Keeps the session going; in place of release(), never after it.
    virtual void cancel() = 0;
};
