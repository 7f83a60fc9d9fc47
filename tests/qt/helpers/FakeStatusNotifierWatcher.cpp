// A StatusNotifierItem watcher with a host, as a desktop panel runs one, for the tests: it prints the
// service of every item that registers, one per line.
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QStringList>

#include <cstdio>

class Watcher : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ HostRegistered)
    Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ Items)

public:
    explicit Watcher(QObject* parent) : QDBusAbstractAdaptor(parent) {}
    bool HostRegistered() const { return true; }
    int ProtocolVersion() const { return 0; }
    QStringList Items() const { return items_; }

public slots:
    void RegisterStatusNotifierItem(const QString& service) {
        items_ << service;
        std::printf("%s\n", service.toUtf8().constData());
        std::fflush(stdout);
    }
    void RegisterStatusNotifierHost(const QString&) {}

private:
    QStringList items_;
};

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QObject root;
    new Watcher(&root);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject("/StatusNotifierWatcher", &root) || !bus.registerService("org.kde.StatusNotifierWatcher"))
        return 1;
    return QCoreApplication::exec();
}

#include "FakeStatusNotifierWatcher.moc"
