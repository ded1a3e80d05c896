#pragma once

// Joins the calling thread to a single-threaded COM apartment for its lifetime: ShellExecute may
// hand an address to shell extensions that need COM on the thread that calls it.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // Whether this thread joined (or already was in) an apartment; the destructor then leaves it.
    bool Joined() const { return m_joined; }

private:
    bool m_joined;
};
