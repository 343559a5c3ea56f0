# A speech server for Orca that makes no sound: each utterance goes, one a line, to the file
# named by CIFROLANDIA_VOCE, after the time it was said (seconds, as `date +%s.%N`) and a mark:
# "+" when it cuts off the speech before it (Orca's interrupt flag), "=" when it waits its turn.
# Orca loads it by name from PYTHONPATH (speechServerFactory "voce_registrata"); what it does
# not define, the base class does as nothing.

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
        return [SpeechServer.getSpeechServer()]

    @staticmethod
    def getSpeechServer(info=None):
        SpeechServer._attivo = SpeechServer._attivo or SpeechServer()
        return SpeechServer._attivo

    def getInfo(self):
        return ["Voce registrata", "voce_registrata"]

    def getVoiceFamilies(self):
        return []

    def speak(self, text=None, acss=None, interrupt=True):
        if text and os.environ.get("CIFROLANDIA_VOCE"):
            with open(os.environ["CIFROLANDIA_VOCE"], "a", encoding="utf-8") as f:
                f.write("%.3f %s %s\n" % (time.time(), "+" if interrupt else "=",
                                          " ".join(str(text).split())))
