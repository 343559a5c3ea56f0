# A speech server for Orca that makes no sound: each utterance goes, one a line, to the file
# named by CIFROLANDIA_VOCE, after the time it was said (seconds, as `date +%s.%N`) and a mark:
# "+" when it cuts off the speech before it (Orca's interrupt flag), "=" when it waits its turn.
# Orca writes what it says to its debug log too ("SPEECH OUTPUT:"); this file adds whether
# it interrupted, and no speech daemon is started.
# Orca loads it by name from PYTHONPATH (speechServerFactory "voce_registrata").

import os
import time

from orca import speechserver


class SpeechServer(speechserver.SpeechServer):
    _attivo = None

    @staticmethod
    def getFactoryName():
        return "Voce registrata"

    @staticmethod
    def getSpeechServers():
        return [SpeechServer.getSpeechServer(None)]

    @staticmethod
    def getSpeechServer(info=None):
        if SpeechServer._attivo is None:
            SpeechServer._attivo = SpeechServer()
        return SpeechServer._attivo

    @staticmethod
    def shutdownActiveServers():
        SpeechServer._attivo = None

    def getInfo(self):
        return ["Voce registrata", "voce_registrata"]

    def getVoiceFamilies(self):
        return []

    def _scrivi(self, segno, testo):
        percorso = os.environ.get("CIFROLANDIA_VOCE")
        if percorso and testo:
            with open(percorso, "a", encoding="utf-8") as f:
                f.write("%.3f %s %s\n" % (time.time(), segno, " ".join(str(testo).split())))

    def speak(self, text=None, acss=None, interrupt=True):
        self._scrivi("+" if interrupt else "=", text)

    def speakCharacter(self, character, acss=None):
        self._scrivi("+", character)

    def speakKeyEvent(self, event, acss=None):
        pass

    def sayAll(self, utteranceIterator, progressCallback):
        for contesto, _ in utteranceIterator:
            self._scrivi("=", contesto.utterance)

    def stop(self):
        pass

    def shutdown(self):
        pass

    def reset(self, text=None, acss=None):
        pass
