#!/usr/bin/python3
"""What a screen reader reads of Tessora over AT-SPI: every control of the main window has a name, the level
meter its value, and the big letter announces the vowels the demo recording says, as name changes."""
import sys
import threading
import time

import pyatspi

CONTROLS = {"push button", "check box", "menu item", "combo box", "progress bar", "page tab", "table"}


def aplicacio(espera=30):
    final = time.monotonic() + espera
    while time.monotonic() < final:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Tessora":
                return app
        time.sleep(0.2)
    sys.exit("Tessora never reached the accessibility bus")


def recorrer(acc, trobats):
    trobats.append(acc)
    for i in range(acc.childCount):
        recorrer(acc.getChildAtIndex(i), trobats)


def main():
    app = aplicacio()
    final = time.monotonic() + 30
    while True:  # the main window comes after the application reaches the bus
        tots = []
        recorrer(app, tots)
        if any(a.getRoleName() == "progress bar" for a in tots) or time.monotonic() > final:
            break
        time.sleep(0.2)
    sense_nom = [a.getRoleName() for a in tots if a.getRoleName() in CONTROLS and not a.name]
    if sense_nom:
        sys.exit(f"controls without a name: {sense_nom}")
    nivell = [a for a in tots if a.getRoleName() == "progress bar"]
    if not nivell or (nivell[0].queryValue().minimumValue, nivell[0].queryValue().maximumValue) != (0, 128):
        sys.exit("the level meter exposes no value from 0 to 128")

    # The letter's announcements: at least two vowels of the demo, each a name change of its label.
    dites = []

    def avis(event):
        nom = event.source.name or ""
        if event.source.getRoleName() == "label" and ": " in nom and len(nom.split(": ")[-1]) <= 2:
            dites.append(nom)
            if len(set(dites)) >= 2:
                pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(avis, "object:property-change:accessible-name")
    rellotge = threading.Timer(20, pyatspi.Registry.stop)
    rellotge.daemon = True
    rellotge.start()
    pyatspi.Registry.start()
    if len(set(dites)) < 2:
        sys.exit(f"the letter announced {dites}, not two vowels")
    print("AT-SPI:", len(tots), "objects, every control named; announced:", ", ".join(dict.fromkeys(dites)))


main()
