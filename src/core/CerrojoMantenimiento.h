#pragma once

#include <QString>

// One maintenance operation (import, restore, backup) at a time on a folder, across processes:
// an exclusive lock on a hidden lock file in the folder, held with the platform's file locking so
// that the system lets go of it when the holder dies, however it dies. The holder's process
// number is written into the file for the message of the one that is refused.
//
// While it is held, no other maintenance operation writes in the folder: any temporary file of
// ours found there belongs to a dead process and may be removed.
class CerrojoMantenimiento {
public:
    explicit CerrojoMantenimiento(const QString& carpeta);
    ~CerrojoMantenimiento();
    CerrojoMantenimiento(const CerrojoMantenimiento&) = delete;
    CerrojoMantenimiento& operator=(const CerrojoMantenimiento&) = delete;

    // How long an operation waits for the one in course before it gives up.
    static constexpr int kEsperaMs = 2000;

    // Takes the lock, waiting up to `esperaMs` for another holder. False with the reason, in
    // Spanish: "Otra operación de mantenimiento está en curso (proceso N)." or why the lock file
    // cannot be used.
    bool tomar(QString* error, int esperaMs = kEsperaMs);
    void soltar();
    bool tomado() const;

    const QString& carpeta() const { return carpeta_; }
    // The lock file of `carpeta`.
    static QString rutaCerrojo(const QString& carpeta);

private:
    // One attempt without waiting: 1 taken, 0 held by another, -1 failed (with `numero`).
    int intentar(int* numero);

    QString carpeta_;
#ifdef Q_OS_WIN
    void* manejador_ = nullptr;
#else
    int fd_ = -1;
#endif
};
