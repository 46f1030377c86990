// The audio half of the generator: sound effects and music modules.
#include "audio_files.h"
#include "datagen.h"
#include "it_writer.h"
#include "music_composer.h"
#include "sfx_effects.h"
#include "wav_writer.h"

#include <cstdio>

bool generate_audio(const std::string& out_dir) {
    using namespace audiogen;
    const std::string sfx = out_dir + "/sfx", music = out_dir + "/music";
    if (!audio_make_dirs(sfx) || !audio_make_dirs(music)) {
        std::fprintf(stderr, "datagen: cannot create %s and %s\n", sfx.c_str(), music.c_str());
        return false;
    }
    bool ok = true;
    ok = audio_write_file(sfx + "/festmachen.wav", wav_bytes(sfx_fasten(), kSfxRate)) && ok;
    ok = audio_write_file(sfx + "/loesen.wav", wav_bytes(sfx_loosen(), kSfxRate)) && ok;
    ok = audio_write_file(sfx + "/elevator.wav", wav_bytes(sfx_elevator(), kSfxRate)) && ok;
    ok = audio_write_file(sfx + "/bell.wav", wav_bytes(sfx_bell(), kSfxRate)) && ok;
    ok = audio_write_file(sfx + "/dull.wav", wav_bytes(sfx_dull(), kSfxRate)) && ok;
    ok = audio_write_file(sfx + "/chime.wav", wav_bytes(sfx_chime(), kSfxRate)) && ok;
    ok = audio_write_file(sfx + "/tick.wav", wav_bytes(sfx_tick(), kSfxRate)) && ok;

    for (const Tune& tune : game_tunes()) {
        ItModule module;
        std::string error;
        if (!compose(tune, &module, &error)) {
            std::fprintf(stderr, "datagen: %s: %s\n", tune.file.c_str(), error.c_str());
            ok = false;
            continue;
        }
        ok = audio_write_file(music + "/" + tune.file, it_bytes(module)) && ok;
    }
    return ok;
}
