// Stands in for libFuzzer when the compiler has none (g++): runs the fuzz entry
// point on every file of the given corpus directories (or on the given files)
// and on every prefix of each, where decoders of cut-off datagrams tend to go
// wrong. The corpus and the code stay exercised in every build.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void run(const QByteArray& bytes) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           std::size_t(bytes.size()));
}

} // namespace

int main(int argc, char** argv) {
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(arg).isDir()) {
            const QDir dir(arg);
            for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
                files << dir.filePath(name);
        } else {
            files << arg;
        }
    }
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: %s corpus-dir-or-file...\n", argv[0]);
        return 2;
    }

    run({});
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        for (qsizetype n = 1; n <= bytes.size(); ++n)
            run(bytes.first(n));
    }
    std::printf("replayed %lld inputs and their prefixes\n", static_cast<long long>(files.size()));
    return 0;
}
