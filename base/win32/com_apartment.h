#pragma once

// Joins the calling thread to a COM apartment for its lifetime. The interface thread takes a
// single-threaded one: ShellExecute may hand an address to shell extensions that need COM on the
// thread that calls it. A worker thread with no window takes the multithreaded one.
class ComApartment {
public:
    enum class Threading { Single, Multi };

    explicit ComApartment(Threading threading = Threading::Single);
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // Whether this thread joined (or already was in) an apartment; the destructor then leaves it.
    bool Joined() const { return m_joined; }

private:
    bool m_joined;
};
