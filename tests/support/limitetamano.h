#pragma once
// A real short write for tests: while a LimiteTamano lives, no file of this
// process may grow beyond `bytes`. A write that crosses the limit writes what
// fits and then fails (SIGXFSZ is ignored meanwhile, so the write returns an
// error instead of ending the process), as on a full disk.

#include <csignal>
#include <sys/resource.h>

class LimiteTamano
{
public:
    explicit LimiteTamano(rlim_t bytes)
    {
        ok_ = getrlimit(RLIMIT_FSIZE, &antes_) == 0;
        senal_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limite = antes_;
        limite.rlim_cur = bytes;
        ok_ = ok_ && setrlimit(RLIMIT_FSIZE, &limite) == 0;
    }
    ~LimiteTamano() { levantar(); }
    LimiteTamano(const LimiteTamano &) = delete;
    LimiteTamano &operator=(const LimiteTamano &) = delete;

    // False when the limit could not be set.
    bool ok() const { return ok_; }
    // Lifts the limit before the end of the scope.
    void levantar()
    {
        if (levantado_)
            return;
        levantado_ = true;
        setrlimit(RLIMIT_FSIZE, &antes_);
        std::signal(SIGXFSZ, senal_);
    }

private:
    struct rlimit antes_ {};
    void (*senal_)(int) = SIG_DFL;
    bool ok_ = false;
    bool levantado_ = false;
};
