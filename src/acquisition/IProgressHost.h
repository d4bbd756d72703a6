#pragma once
#include <memory>

#include "platform/CPlatform.h"
#include "platform/ISerialPort.h"

// The window that hosts a running acquisition ("Wczytywanie danych"): its two timers, its
// bar, its modal loop, the port it owns and its message boxes. The drivers see no more.
class IProgressHost {
public:
    virtual ~IProgressHost() = default;
    // Timer 1, the reply timer; it repeats every ms until stopped.
    virtual void SetReplyTimer(int ms) = 0;
    virtual void KillReplyTimer() = 0;
    // Timer 2, the step timer; the host stops it at every timer event.
    virtual void SetStepTimer(int ms) = 0;
    virtual void KillStepTimer() = 0;
    // False before the window exists: progress is then not shown.
    virtual bool HasWindow() const = 0;
    // Moves the bar (0..100) and refreshes the window's controls.
    virtual void SetBarPos(int pos) = 0;
    // Ends the modal loop; 2 is the cancel result.
    virtual void EndDialog(int result) = 0;
    // A new, unopened port (CComPort in the program); the host owns its messages.
    virtual std::unique_ptr<ISerialPort> CreatePort() = 0;
    virtual IComPortOwner* PortOwner() = 0;
    // Message boxes of the drivers (caption "Uwaga", stop icon).
    virtual const CPlatform& Platform() const = 0;
};

constexpr int kReplyTimer = 1;
constexpr int kStepTimer = 2;
constexpr int kDialogCancel = 2;
