// Handles that close themselves however their scope ends. Each kind names
// the value that means "no handle" and the call that closes one.
#pragma once
#include <windows.h>

template <class Handle, class Kind>
class UniqueHandle {
public:
    UniqueHandle() : handle(Kind::None()) {}
    explicit UniqueHandle(Handle value) : handle(value) {}
    UniqueHandle(UniqueHandle&& other) : handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other)
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return handle; }
    bool Valid() const { return handle != Kind::None(); }
    // For a call that hands back a new handle through a pointer.
    Handle* Receive()
    {
        Reset();
        return &handle;
    }
    void Reset(Handle value = Kind::None())
    {
        if (handle != Kind::None())
            Kind::Close(handle);
        handle = value;
    }
    Handle Release()
    {
        const Handle value = handle;
        handle = Kind::None();
        return value;
    }

private:
    UniqueHandle(const UniqueHandle&);
    UniqueHandle& operator=(const UniqueHandle&);
    Handle handle;
};

// Kinds whose "no handle" is nullptr, or INVALID_HANDLE_VALUE, closed by
// the Windows call given.
template <class Handle, class Result, Result(WINAPI* CloseCall)(Handle)>
struct NullHandleKind {
    static Handle None() { return nullptr; }
    static void Close(Handle handle) { CloseCall(handle); }
};
template <BOOL(WINAPI* CloseCall)(HANDLE)>
struct InvalidHandleKind {
    static HANDLE None() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseCall(handle); }
};

typedef UniqueHandle<HKEY, NullHandleKind<HKEY, LONG, RegCloseKey>> RegistryKey;
// FindFirstFileA's handle.
typedef UniqueHandle<HANDLE, InvalidHandleKind<FindClose>> FindHandle;
// CreateFileA's handle.
typedef UniqueHandle<HANDLE, InvalidHandleKind<CloseHandle>> FileHandle;
// Processes, threads, events.
typedef UniqueHandle<HANDLE, NullHandleKind<HANDLE, BOOL, CloseHandle>> KernelHandle;
