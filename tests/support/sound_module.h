// A module of the shared sound server that a test loads for itself (a
// capture source it may take away without disturbing the other test
// programs), unloaded however the test ends.
#pragma once

#include <cstdlib>
#include <string>

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
