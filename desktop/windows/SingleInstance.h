// One running program per user: a lock file and a local socket in the user's
// runtime folder. A later start finds the lock held, tells the running
// program to come to the front and ends; a lock left by a killed program is
// taken over.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <chrono>
#include <memory>

namespace wexal::desktop {

class SingleInstance final : public QObject {
    Q_OBJECT

  public:
    enum class Role {
        kFirst,       // this program holds the lock and listens
        kHandedOver,  // another one runs and was told to come to the front
        kUnreachable  // another one holds the lock but could not be reached
    };

    // `folder` holds "<name>.lock" and the socket "<name>.socket".
    SingleInstance(const QString& folder, const QString& name);
    ~SingleInstance() override;

    // Takes the lock, or reaches the holder; keeps trying for `patience`, as
    // the holder may have just started and not listen yet.
    Role Claim(std::chrono::milliseconds patience = std::chrono::milliseconds(2000));

  signals:
    // A later start asked this one to come to the front.
    void ActivationRequested();

  private:
    void Listen();
    void Accept();

    QString socketPath_;
    QLockFile lock_;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace wexal::desktop
