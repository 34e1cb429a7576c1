// A device that passes bytes on to another until a budget is spent, then fails like a full disk.
// Several devices may share one budget, so that a save of two files can be made to fail at any byte.
#pragma once

#include "KordoSupportClasses.h"

#include <memory>

class TFailingDevice : public TKordoByteDevice {
public:
    TFailingDevice(std::unique_ptr<TKordoByteDevice> inner, uint64_t bytesBeforeFailure)
        : TFailingDevice(std::move(inner), std::make_shared<uint64_t>(bytesBeforeFailure)) {}
    TFailingDevice(std::unique_ptr<TKordoByteDevice> inner, std::shared_ptr<uint64_t> sharedBudget)
        : Inner(std::move(inner)), Budget(std::move(sharedBudget)) {}

    void Write(const uint8_t* data, size_t n) override {
        if (n > *Budget) {
            Inner->Write(data, static_cast<size_t>(*Budget));
            *Budget = 0;
            throw TKordoError("simulated write failure (device full)");
        }
        *Budget -= n;
        Inner->Write(data, n);
    }
    void Sync() override { Inner->Sync(); }

private:
    std::unique_ptr<TKordoByteDevice> Inner;
    std::shared_ptr<uint64_t> Budget;
};
