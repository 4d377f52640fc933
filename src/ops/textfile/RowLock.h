#pragma once
// The row lock: while it holds, line k of the editor's text file is the new name of the row
// whose "行" reads k + 1, so nothing may add, remove or renumber rows without releasing it.
// The text round trip takes and releases it; every other command only asks about it.

namespace morvane {

class Dialogs;

class RowLock {
public:
    // What holds the lock releases it: it owns the text file behind it.
    class Holder {
    public:
        virtual void UnlockRows() = 0;

    protected:
        ~Holder() = default;
    };

    explicit RowLock(Dialogs& dialogs) : dialogs_(dialogs) {}
    RowLock(const RowLock&) = delete;
    RowLock& operator=(const RowLock&) = delete;

    bool RowLocked() const { return holder_ != nullptr; }
    // Asks to release the lock if it holds; false when the user keeps it.
    bool ConfirmUnlockRows();

    // Releases the lock without asking, as its holder does: for when no row is left to tie
    // a line to.
    void Release() {
        if (holder_ != nullptr)
            holder_->UnlockRows();
    }

    void Take(Holder& holder) { holder_ = &holder; }
    void Released() { holder_ = nullptr; }

private:
    Dialogs& dialogs_;
    Holder* holder_ = nullptr;
};

}  // namespace morvane
