#pragma once

#include <cstddef>
#include <deque>
#include <utility>
#include <vector>

namespace vanta::sim {

// What a simulated daemon writes down about the calls it serves, limited to
// the last `limit` entries: a simulator runs for hours, and a record that grew
// with every call would grow without bound. The count of everything ever
// added stays exact.
//
// Threading: none of its own; its owner guards it.
template <typename Entry>
class BoundedHistory {
  public:
    static constexpr size_t kDefaultLimit = 1000;

    explicit BoundedHistory(size_t limit = kDefaultLimit) : limit_(limit == 0 ? 1 : limit) {}

    void add(Entry entry) {
        if (entries_.size() == limit_) {
            entries_.pop_front();
        }
        entries_.push_back(std::move(entry));
        ++total_;
    }

    // The entries kept, oldest first.
    std::vector<Entry> entries() const { return {entries_.begin(), entries_.end()}; }
    // The entries kept that came after the first `seen` ever added.
    std::vector<Entry> entries_after(size_t seen) const {
        const size_t first_kept = total_ - entries_.size();
        const size_t skip = seen > first_kept ? seen - first_kept : 0;
        if (skip >= entries_.size()) {
            return {};
        }
        return {entries_.begin() + static_cast<std::ptrdiff_t>(skip), entries_.end()};
    }
    // Forgets the entries kept (the count stays).
    void clear() { entries_.clear(); }
    size_t size() const { return entries_.size(); }
    // Everything ever added, also what is no longer kept.
    size_t total() const { return total_; }

  private:
    size_t limit_;
    std::deque<Entry> entries_;
    size_t total_ = 0;
};

}  // namespace vanta::sim
