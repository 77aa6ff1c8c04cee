#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace ov {

// One running copy per user: a lock file claims the run, a local socket of the
// same name lets a later copy ask the running one to come to the front.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kName = "Prjorvane";

    // `folder` holds the lock file and the socket; empty means the user's
    // runtime folder.
    explicit SingleInstance(QString folder = {});
    ~SingleInstance() override;

    // True when this copy now owns the run. Otherwise another copy runs and has
    // been asked to come to the front.
    bool Acquire();

signals:
    void ActivationRequested();

private:
    void Listen();
    void NotifyRunningCopy() const;

    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

}  // namespace ov
