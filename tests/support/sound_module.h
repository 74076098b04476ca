// A module of the shared sound server that a test loads for itself (a
// capture source it may take away without disturbing the other test
// programs), unloaded however the test ends.
#pragma once

#include <cstdlib>
#include <string>

#include <unistd.h>

#include "command_output.h"

class SoundModule
{
public:
    SoundModule() = default;
    // "pactl load-module" with the arguments (the module's name first).
    explicit SoundModule(const std::string& arguments) { Load(arguments); }
    ~SoundModule() { Unload(); }
    SoundModule(const SoundModule&) = delete;
    SoundModule& operator=(const SoundModule&) = delete;

    bool Load(const std::string& arguments)
    {
        Unload();
        m_nModule = std::atoi(CommandOutput("pactl load-module " + arguments + " 2>/dev/null").c_str());
        return Loaded();
    }
    bool Loaded() const { return m_nModule > 0; }
    void Unload()
    {
        if (m_nModule > 0)
            CommandOutput("pactl unload-module " + std::to_string(m_nModule) + " 2>&1");
        m_nModule = 0;
    }

private:
    int m_nModule = 0;
};

// How many streams record from the named source; 0 when there is none.
inline int SourceStreams(const std::string& source)
{
    return std::atoi(
        CommandOutput("i=$(pactl list sources short | awk '$2==\"" + source +
                      "\"{print $1}'); [ -n \"$i\" ] && pactl list source-outputs short | awk -v "
                      "i=\"$i\" '$2==i' | wc -l")
            .c_str());
}

// A FIFO capture source of the test's own, 16-bit stereo at 44100 Hz: it
// delivers what is written to the FIFO and, with no writer, nothing at all.
// The FIFO goes with it.
class PipeSource
{
public:
    PipeSource(const std::string& name, const std::string& fifo, const std::string& description)
        : m_strFifo(fifo)
    {
        CommandOutput("rm -f '" + m_strFifo + "'");
        m_module.Load(
            "module-pipe-source source_name=" + name + " file='" + m_strFifo +
            "' format=s16le rate=44100 channels=2 source_properties=device.description=" + description);
    }
    ~PipeSource()
    {
        m_module.Unload();
        CommandOutput("rm -f '" + m_strFifo + "'");
    }
    PipeSource(const PipeSource&) = delete;
    PipeSource& operator=(const PipeSource&) = delete;

    bool Loaded() const { return m_module.Loaded(); }
    const std::string& Fifo() const { return m_strFifo; }

private:
    std::string m_strFifo;
    SoundModule m_module;
};

// A PipeSource fed by ffmpeg at the wall clock's pace with the sound of a
// lavfi source ("sine=frequency=660"), stereo at 44100 Hz, for at most
// 300 s. A FIFO source reads only while something records from it, and the
// writer, held back meanwhile, would then catch up in a burst: a listener of
// its own keeps it reading at the writer's pace. The writer and the listener
// are stopped and the source unloaded whatever way the test ends, so no other
// test program meets it.
class RealTimeSound
{
public:
    RealTimeSound(const std::string& name, const std::string& description, const std::string& lavfi)
        : m_strName(name), m_source(name, "/tmp/" + name + ".fifo", description)
    {
        if (!m_source.Loaded())
            return;
        m_nWriter = std::atoi(CommandOutput("ffmpeg -nostdin -loglevel error -re -f lavfi -i '" + lavfi +
                                            "' -t 300 -ac 2 -ar 44100 -f s16le -y '" + m_source.Fifo() +
                                            "' </dev/null >/dev/null 2>&1 & echo $!")
                                  .c_str());
        m_nListener = std::atoi(
            CommandOutput("parec -d " + m_strName + " --raw </dev/null >/dev/null 2>&1 & echo $!").c_str());
    }
    ~RealTimeSound()
    {
        if (m_nListener > 0)
            CommandOutput("kill " + std::to_string(m_nListener) + " 2>/dev/null");
        if (m_nWriter > 0)
            CommandOutput("kill " + std::to_string(m_nWriter) + " 2>/dev/null");
    }
    RealTimeSound(const RealTimeSound&) = delete;
    RealTimeSound& operator=(const RealTimeSound&) = delete;

    bool Running() const { return m_source.Loaded() && m_nWriter > 0 && m_nListener > 0; }
    // The streams recording from it, our listener's among them.
    int Streams() const { return SourceStreams(m_strName); }

private:
    std::string m_strName;
    PipeSource m_source;
    int m_nWriter = 0;
    int m_nListener = 0;
};

// A sound server of the test's own: the session's server is shared by every
// test program, and this one a test may stop dead (SIGSTOP), as a server
// that hangs while its clients stay connected. It is ended, and its folder
// (a place for the FIFOs of its sources) removed, however the test ends.
class PrivateSoundServer
{
public:
    PrivateSoundServer()
    {
        m_strFolder = CommandOutput("mktemp -d /tmp/sondrel-sound-XXXXXX | tr -d '\\n'");
        if (m_strFolder.empty())
            return;
        m_nPid = std::atoi(CommandOutput("HOME='" + m_strFolder + "' PULSE_RUNTIME_PATH='" + m_strFolder +
                                         "/run' PULSE_STATE_PATH='" + m_strFolder +
                                         "/state' pulseaudio --daemonize=no -n --exit-idle-time=-1 "
                                         "--use-pid-file=no --log-target=file:'" +
                                         m_strFolder + "/log' '--load=module-native-protocol-unix socket=" +
                                         m_strFolder + "/native' </dev/null >/dev/null 2>&1 & echo $!")
                               .c_str());
        // Bounded: a server that never answers fails the test's own checks.
        for (int i = 0; i < 100 && m_nPid > 0 && !Answers(); ++i)
            usleep(100000);
    }
    ~PrivateSoundServer()
    {
        if (m_nPid > 0)
            CommandOutput("kill -CONT " + std::to_string(m_nPid) + "; kill " + std::to_string(m_nPid) +
                          " 2>/dev/null");
        if (!m_strFolder.empty())
            CommandOutput("rm -rf '" + m_strFolder + "'");
    }
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    // What PULSE_SERVER names it by.
    std::string Address() const { return "unix:" + m_strFolder + "/native"; }
    const std::string& Folder() const { return m_strFolder; }
    bool Answers() const { return Pactl("info") != ""; }
    // "pactl load-module" with the arguments (the module's name first).
    bool Load(const std::string& arguments) const
    {
        return std::atoi(Pactl("load-module " + arguments).c_str()) > 0;
    }
    void Hang() const { CommandOutput("kill -STOP " + std::to_string(m_nPid)); }
    void Resume() const { CommandOutput("kill -CONT " + std::to_string(m_nPid)); }

private:
    std::string Pactl(const std::string& arguments) const
    {
        return CommandOutput("PULSE_SERVER='" + Address() + "' pactl " + arguments + " 2>/dev/null");
    }

    std::string m_strFolder;
    int m_nPid = 0;
};
