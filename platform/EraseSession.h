#pragma once

#include "platform/DRErase.h"
#include "platform/DiscJob.h"

#include <memory>

// Erases the disc in the recorder of a DRErase.
class EraseSession : public DiscJob {
    Q_OBJECT

public:
    explicit EraseSession(std::shared_ptr<DRErase> erase, QObject* parent = nullptr);

    std::shared_ptr<DRErase> erase() const { return mErase; }

protected:
    DiscJobResult work() override;

private:
    std::shared_ptr<DRErase> mErase;
};
