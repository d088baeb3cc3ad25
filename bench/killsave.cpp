// Helper of scripts/kill-during-save.sh: runs one save of the program (a
// language switch, a language editor save, a data file save) and kills it
// with SIGKILL at a chosen moment, so the script can check that the file is
// left whole, old or new.
//
//   killsave setup <scene> <variant> <dir>   writes the starting file
//   killsave run <scene> <dir>               runs the save once, to its end
//   killsave kill <when> <delay_us> <scene> <dir>
//       starts "run" as a child and kills it; <when> is
//         write: <delay_us> after the child first holds a file in <dir>
//                open for writing (the new file being written),
//         time:  <delay_us> after the child starts,
//         measure: not at all; prints how many microseconds the child held
//                a file in <dir> open for writing.
//       The child is stopped first (SIGSTOP), its open files are looked at,
//       then it gets SIGKILL. Prints one word: mid-write (a file in <dir> was
//       open for writing when it was killed), outside (killed at another
//       moment) or finished (it ended before the kill).
//
// Scenes: language (file <dir>/idioma.lng; variant 0 the choice is
// rewritten, 1 it is added to a settings section that has none, 2 the
// settings section itself is added), editor (<dir>/idioma.lng), data
// (<dir>/datos.dat). The files are a few megabytes, so a save takes a while.

#include "app/principal.h"
#include "language/frmIdioma.h"
#include "language/idiomas.h"
#include "platform/commondialog.h"
#include "platform/flexgrid.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"
#include "textbox/textextend.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QString>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{

// A third language with long texts, for the same identifiers as English, so
// the file is large enough that writing it takes a while.
QByteArray bigLanguage()
{
    QByteArray out = "[Grande]\r\n";
    for (int id = 1; id <= 107; ++id)
        out += QByteArray::number(id) + "=" + QByteArray(30000, char('a' + id % 26)) + "\r\n";
    return out + "\r\n";
}

QByteArray languageFile(int variant)
{
    QByteArray shipped = ficheroidiomaoriginal();
    const QByteArray settings = "[idioma]\r\nidioma=English\r\n\r\n";
    if (!shipped.startsWith(settings)) {
        std::fprintf(stderr, "the shipped language file does not start with its settings section\n");
        std::exit(2);
    }
    const QByteArray languages = shipped.mid(settings.size());
    switch (variant) {
    case 1: // a settings section without the choice, last in the file
        return languages + bigLanguage() + "[idioma]\r\n";
    case 2: // no settings section at all
        return languages + bigLanguage();
    default:
        return settings + languages + bigLanguage();
    }
}

QByteArray dataFile()
{
    QByteArray out = "Killed\r\nX\r\nY\r\n";
    for (int c = 0; c < 10; ++c) {
        constexpr int points = 5000;
        out += "curve " + QByteArray::number(c + 1) + "\r\n-1  -1\r\n";
        out += QByteArray::number(points) + "  1  1  1  0  " + QByteArray::number(c) + "\r\n";
        for (int j = 1; j <= points; ++j) {
            const double x = j * 0.001;
            out += QByteArray::number(x, 'g', 15) + "   " + QByteArray::number(std::sin(x + c), 'g', 15) +
                   "\r\n";
        }
    }
    return out + "fin\r\n";
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

void useFolder(const QString &dir)
{
    platform::setProgramFolder(dir);
    ficheroidioma = QDir(dir).filePath(QStringLiteral("idioma.lng"));
}

int setup(const QString &scene, int variant, const QString &dir)
{
    bool ok = false;
    if (scene == QLatin1String("language"))
        ok = writeFile(QDir(dir).filePath(QStringLiteral("idioma.lng")), languageFile(variant));
    else if (scene == QLatin1String("editor"))
        ok = writeFile(QDir(dir).filePath(QStringLiteral("idioma.lng")), languageFile(0));
    else if (scene == QLatin1String("data"))
        ok = writeFile(QDir(dir).filePath(QStringLiteral("idioma.lng")), ficheroidiomaoriginal()) &&
             writeFile(QDir(dir).filePath(QStringLiteral("datos.dat")), dataFile());
    return ok ? 0 : 2;
}

int run(const QString &scene, const QString &dir)
{
    useFolder(dir);
    platform::ScriptedMsgBox box;
    if (scene == QLatin1String("language")) {
        idiomaactual = QStringLiteral("English");
        if (!platform::isTrue(cambiaridioma(QString::fromUtf8("Español"))))
            return 1;
    } else if (scene == QLatin1String("editor")) {
        cargaridiomas();
        frmIdioma &e = formidioma();
        e.grid()->setRow(6);
        e.grid()->setCol(2);
        e.MSFlexIdiomas_Click();
        e.editor()->setText(QStringLiteral("cambiado"));
        e.btguardar_Click();
        if (e.modificado)
            return 1;
    } else if (scene == QLatin1String("data")) {
        cargaridiomas();
        principal &p = formprincipal();
        platform::ScriptedFileDialog dlg;
        const QString path = QDir(dir).filePath(QStringLiteral("datos.dat"));
        dlg.answers << path;
        if (!p.abrirfichero())
            return 1;
        p.titlebox()->setText(QStringLiteral("Saved"));
        dlg.answers << path;
        p.guardarfichero();
    } else {
        return 2;
    }
    return box.shown.size() <= 1 ? 0 : 1;
}

// True when the process has a file inside `dir` open for writing.
bool writingInto(pid_t pid, const std::string &dir)
{
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    DIR *d = opendir(fds.c_str());
    if (!d)
        return false;
    bool found = false;
    while (dirent *e = readdir(d)) {
        if (e->d_name[0] == '.')
            continue;
        char target[4096];
        const ssize_t n = readlink((fds + "/" + e->d_name).c_str(), target, sizeof target - 1);
        if (n <= 0)
            continue;
        target[n] = '\0';
        if (std::strncmp(target, dir.c_str(), dir.size()) != 0 || target[dir.size()] != '/')
            continue;
        const std::string info = "/proc/" + std::to_string(pid) + "/fdinfo/" + e->d_name;
        if (FILE *f = std::fopen(info.c_str(), "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, f)) {
                unsigned long flags = 0;
                if (std::sscanf(line, "flags: %lo", &flags) == 1 && (flags & O_ACCMODE) != O_RDONLY)
                    found = true;
            }
            std::fclose(f);
        }
        if (found)
            break;
    }
    closedir(d);
    return found;
}

char processState(pid_t pid)
{
    const std::string stat = "/proc/" + std::to_string(pid) + "/stat";
    FILE *f = std::fopen(stat.c_str(), "r");
    if (!f)
        return '?';
    char buf[512] = {};
    const size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    buf[n] = '\0';
    const char *paren = std::strrchr(buf, ')');
    return paren && paren[1] == ' ' ? paren[2] : '?';
}

bool exited(pid_t pid, int &status)
{
    return waitpid(pid, &status, WNOHANG) == pid;
}

int kill(const std::string &when, long delayUs, const char *scene, const char *dirArg)
{
    char real[4096];
    if (!realpath(dirArg, real)) {
        std::perror("realpath");
        return 2;
    }
    const std::string dir = real;
    const pid_t pid = fork();
    if (pid < 0)
        return 2;
    if (pid == 0) {
        execl("/proc/self/exe", "killsave", "run", scene, real, static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (when == "measure") {
        // No kill: how long the new file stays open for writing.
        while (!writingInto(pid, dir))
            if (exited(pid, status)) {
                std::puts("0");
                return 1;
            }
        const auto start = std::chrono::steady_clock::now();
        while (writingInto(pid, dir) && !exited(pid, status)) {
        }
        const auto us =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        std::printf("%lld\n", static_cast<long long>(us.count()));
        waitpid(pid, &status, 0);
        return 0;
    }
    if (when == "write") {
        while (!writingInto(pid, dir)) {
            if (exited(pid, status)) {
                std::puts("finished");
                return 0;
            }
        }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
    if (exited(pid, status)) {
        std::puts("finished");
        return 0;
    }
    ::kill(pid, SIGSTOP);
    char state = processState(pid);
    while (state != 'T' && state != 't' && state != 'Z' && state != '?')
        state = processState(pid);
    const bool midWrite = writingInto(pid, dir);
    ::kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    if (state == 'Z') {
        std::puts("finished");
        return 0;
    }
    std::puts(midWrite ? "mid-write" : "outside");
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: killsave setup <scene> <variant> <dir> | run <scene> <dir> |"
                         " kill <write|time|measure> <delay_us> <scene> <dir>\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2)
        return usage();
    const std::string command = argv[1];
    if (command == "kill") {
        if (argc != 6)
            return usage();
        return kill(argv[2], std::atol(argv[3]), argv[4], argv[5]);
    }
    QApplication app(argc, argv);
    if (command == "setup" && argc == 5)
        return setup(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]), QString::fromLocal8Bit(argv[4]));
    if (command == "run" && argc == 4)
        return run(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    return usage();
}
