#include "display/frame_record.h"

void FrameRecord::Draw(const DrawOp& op) {
    if (holding_) {
        if (matched_ < ops_.size() && ops_[matched_] == op) {
            ++matched_;
            return;
        }
        PerformHeldBack();
    }
    target_.Execute(op);
    changed_ = true;
    if (ops_.size() < kMaxOps) {
        ops_.push_back(op);
    } else {
        described_ = false;
    }
}

void FrameRecord::PerformHeldBack() {
    for (size_t i = 0; i < matched_; ++i) {
        target_.Execute(ops_[i]);
    }
    if (matched_ > 0) {
        changed_ = true;
    }
    ops_.resize(matched_);
    holding_ = false;
}

void FrameRecord::BeforeRead() {
    if (holding_ && matched_ > 0) {
        PerformHeldBack();
    }
}

void FrameRecord::BeforeWrite() {
    if (holding_) {
        PerformHeldBack();
    }
    changed_ = true;
    described_ = false;
}

void FrameRecord::BeforeSourceChanges(const Surface* source) {
    if (!holding_) {
        return;
    }
    for (size_t i = 0; i < matched_; ++i) {
        if (ops_[i].source == source) {
            PerformHeldBack();
            return;
        }
    }
}

bool FrameRecord::EndFrame() {
    // Part of the last frame repeated: the buffer does not hold that part's picture alone.
    if (holding_ && matched_ > 0 && matched_ < ops_.size()) {
        PerformHeldBack();
    }
    return !changed_;
}

void FrameRecord::Presented(bool succeeded) {
    changed_ = !succeeded;
    if (!holding_) {
        holding_ = described_ && !ops_.empty() && ops_.front().coversAll;
        if (!holding_) {
            ops_.clear();
        }
    }
    matched_ = 0;
    described_ = true;
}
