<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>About</name>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Sets up the Tarrow Lark 8k gaming mouse: CPI levels, polling rate, click filters and what each button does. The settings are kept in the mouse.</source>
        <translation>Richtet die Gaming-Maus Tarrow Lark 8k ein: CPI-Stufen, Abfragerate, Klickfilter und was jede Taste tut. Die Einstellungen bleiben in der Maus gespeichert.</translation>
    </message>
    <message>
        <source>Free software under the MIT licence. Copyright © 2026 the lark-config developers.</source>
        <translation>Freie Software unter der MIT-Lizenz. Copyright © 2026 die Entwickler von lark-config.</translation>
    </message>
</context>
<context>
    <name>Actions</name>
    <message>
        <source>LEFT CLICK</source>
        <translation>LINKSKLICK</translation>
    </message>
    <message>
        <source>RIGHT CLICK</source>
        <translation>RECHTSKLICK</translation>
    </message>
    <message>
        <source>MIDDLE CLICK</source>
        <translation>MITTELKLICK</translation>
    </message>
    <message>
        <source>FORWARD</source>
        <translation>VORWÄRTS</translation>
    </message>
    <message>
        <source>BACK</source>
        <translation>ZURÜCK</translation>
    </message>
    <message>
        <source>SCROLL UP</source>
        <translation>NACH OBEN SCROLLEN</translation>
    </message>
    <message>
        <source>SCROLL DOWN</source>
        <translation>NACH UNTEN SCROLLEN</translation>
    </message>
    <message>
        <source>CPI LOOP</source>
        <translation>CPI-WECHSEL</translation>
    </message>
    <message>
        <source>PLAY/PAUSE</source>
        <translation>WIEDERGABE/PAUSE</translation>
    </message>
    <message>
        <source>NEXT</source>
        <translation>NÄCHSTER</translation>
    </message>
    <message>
        <source>PREVIOUS</source>
        <translation>VORHERIGER</translation>
    </message>
    <message>
        <source>MUTE</source>
        <translation>STUMM</translation>
    </message>
    <message>
        <source>VOLUME UP</source>
        <translation>LAUTER</translation>
    </message>
    <message>
        <source>VOLUME DOWN</source>
        <translation>LEISER</translation>
    </message>
    <message>
        <source>BROWSER</source>
        <translation>BROWSER</translation>
    </message>
    <message>
        <source>EXPLORER</source>
        <translation>DATEIEN</translation>
    </message>
    <message>
        <source>DISABLE</source>
        <translation>AUS</translation>
    </message>
    <message>
        <source>CPI: %1</source>
        <translation>CPI: %1</translation>
    </message>
    <message>
        <source>X: %1, Y: %2</source>
        <translation>X: %1, Y: %2</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Puts every setting of the mouse back to how it left the factory.</source>
        <translation>Setzt jede Einstellung der Maus auf den Auslieferungszustand zurück.</translation>
    </message>
    <message>
        <source>Sends the changed settings to the mouse, which keeps them (Ctrl+S).</source>
        <translation>Sendet die geänderten Einstellungen an die Maus, die sie behält (Strg+S).</translation>
    </message>
    <message>
        <source>Lets each CPI level have its own horizontal (X) and vertical (Y) speed. Off, both directions share one value.</source>
        <translation>Gibt jeder CPI-Stufe eine eigene waagrechte (X) und senkrechte (Y) Geschwindigkeit. Aus: beide Richtungen teilen sich einen Wert.</translation>
    </message>
    <message>
        <source>Horizontal (X). </source>
        <translation>Waagrecht (X). </translation>
    </message>
    <message>
        <source>Vertical (Y). </source>
        <translation>Senkrecht (Y). </translation>
    </message>
    <message>
        <source>Press the key the mouse button should send; its name shows here.</source>
        <translation>Drücken Sie die Taste, die die Maustaste senden soll; ihr Name erscheint hier.</translation>
    </message>
    <message>
        <source>Also holds Shift, so the button sends Shift with the key.</source>
        <translation>Hält zusätzlich Umschalt, die Taste sendet also Umschalt mit.</translation>
    </message>
    <message>
        <source>Also holds Ctrl, so the button sends Ctrl with the key.</source>
        <translation>Hält zusätzlich Strg, die Taste sendet also Strg mit.</translation>
    </message>
    <message>
        <source>Also holds the Windows (Super) key, so the button sends it with the key.</source>
        <translation>Hält zusätzlich die Windows-Taste (Super), die Taste sendet sie also mit.</translation>
    </message>
    <message>
        <source>Also holds Alt, so the button sends Alt with the key.</source>
        <translation>Hält zusätzlich Alt, die Taste sendet also Alt mit.</translation>
    </message>
    <message>
        <source>Gives the button the key shown above with the ticked modifiers. Escape keeps what the button did before.</source>
        <translation>Legt die oben gezeigte Taste mit den angehakten Zusatztasten auf die Maustaste. Esc behält die bisherige Belegung.</translation>
    </message>
    <message>
        <source>Lets the fixed CPI have its own horizontal (X) and vertical (Y) speed. Off, both directions share one value.</source>
        <translation>Gibt der festen CPI eine eigene waagrechte (X) und senkrechte (Y) Geschwindigkeit. Aus: beide Richtungen teilen sich einen Wert.</translation>
    </message>
    <message>
        <source>The CPI the button switches to, horizontal (X): %1.</source>
        <translation>Die CPI, auf die die Taste umschaltet, waagrecht (X): %1.</translation>
    </message>
    <message>
        <source>The CPI the button switches to, vertical (Y): %1.</source>
        <translation>Die CPI, auf die die Taste umschaltet, senkrecht (Y): %1.</translation>
    </message>
    <message>
        <source>Gives the button this fixed CPI. Escape keeps what the button did before.</source>
        <translation>Legt diese feste CPI auf die Taste. Esc behält die bisherige Belegung.</translation>
    </message>
</context>
<context>
    <name>Keys</name>
    <message>
        <source>Left Button</source>
        <translation>Linke Maustaste</translation>
    </message>
    <message>
        <source>Right Button</source>
        <translation>Rechte Maustaste</translation>
    </message>
    <message>
        <source>Middle Button</source>
        <translation>Mittlere Maustaste</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Rücktaste</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tab</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Enter</source>
        <translation>Eingabe</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Caps Lock</source>
        <translation>Feststelltaste</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Leertaste</translation>
    </message>
    <message>
        <source>Page Up</source>
        <translation>Bild auf</translation>
    </message>
    <message>
        <source>Page Down</source>
        <translation>Bild ab</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Pos1</translation>
    </message>
    <message>
        <source>Left Arrow</source>
        <translation>Pfeil links</translation>
    </message>
    <message>
        <source>Up Arrow </source>
        <translation>Pfeil oben </translation>
    </message>
    <message>
        <source>Right Arrow</source>
        <translation>Pfeil rechts</translation>
    </message>
    <message>
        <source>Down Arrow</source>
        <translation>Pfeil unten</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Execute</source>
        <translation>Ausführen</translation>
    </message>
    <message>
        <source>Print Screen</source>
        <translation>Druck</translation>
    </message>
    <message>
        <source>Ins</source>
        <translation>Einfg</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Entf</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Left Window</source>
        <translation>Windows links</translation>
    </message>
    <message>
        <source>Right Window</source>
        <translation>Windows rechts</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>Kontextmenü</translation>
    </message>
    <message>
        <source>Num Lock</source>
        <translation>Num</translation>
    </message>
    <message>
        <source>Scroll Lock</source>
        <translation>Rollen</translation>
    </message>
    <message>
        <source>Left Shift</source>
        <translation>Umschalt links</translation>
    </message>
    <message>
        <source>Right Shift</source>
        <translation>Umschalt rechts</translation>
    </message>
    <message>
        <source>Left Control</source>
        <translation>Strg links</translation>
    </message>
    <message>
        <source>Right Control</source>
        <translation>Strg rechts</translation>
    </message>
    <message>
        <source>Left Alt</source>
        <translation>Alt links</translation>
    </message>
    <message>
        <source>Right Alt</source>
        <translation>Alt Gr</translation>
    </message>
    <message>
        <source>Browser Back</source>
        <translation>Browser zurück</translation>
    </message>
    <message>
        <source>Browser Forward</source>
        <translation>Browser vorwärts</translation>
    </message>
    <message>
        <source>Browser Refresh</source>
        <translation>Browser aktualisieren</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>Leiser</translation>
    </message>
    <message>
        <source>Volume Up </source>
        <translation>Lauter </translation>
    </message>
    <message>
        <source>Fn</source>
        <translation>Fn</translation>
    </message>
    <message>
        <source>Non-US #</source>
        <translation>Nicht-US #</translation>
    </message>
    <message>
        <source>Non-US \</source>
        <translation>Nicht-US \</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Ein/Aus</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Again</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Ro</source>
        <translation>Ro</translation>
    </message>
    <message>
        <source>Katakana/Hiragana</source>
        <translation>Katakana/Hiragana</translation>
    </message>
    <message>
        <source>Yen</source>
        <translation>Yen</translation>
    </message>
    <message>
        <source>Henkan</source>
        <translation>Henkan</translation>
    </message>
    <message>
        <source>Muhenkan</source>
        <translation>Muhenkan</translation>
    </message>
    <message>
        <source>Hangul</source>
        <translation>Hangul</translation>
    </message>
    <message>
        <source>Hanja</source>
        <translation>Hanja</translation>
    </message>
    <message>
        <source>Katakana</source>
        <translation>Katakana</translation>
    </message>
    <message>
        <source>Hiragana</source>
        <translation>Hiragana</translation>
    </message>
    <message>
        <source>Zenkaku/Hankaku</source>
        <translation>Zenkaku/Hankaku</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Umschalt</translation>
    </message>
    <message>
        <source>Ctrl</source>
        <translation>Strg</translation>
    </message>
    <message>
        <source>Win</source>
        <translation>Win</translation>
    </message>
    <message>
        <source>Alt</source>
        <translation>Alt</translation>
    </message>
    <message>
        <source>Key %1</source>
        <translation>Taste %1</translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source>Tarrow Lark 8k Configuration Tool</source>
        <translation>Tarrow Lark 8k Einstellungen</translation>
    </message>
</context>
<context>
    <name>Vocabulary</name>
    <message>
        <source>1mm</source>
        <translation>1 mm</translation>
    </message>
    <message>
        <source>2mm</source>
        <translation>2 mm</translation>
    </message>
    <message>
        <source>1000Hz</source>
        <translation>1000 Hz</translation>
    </message>
    <message>
        <source>2000Hz</source>
        <translation>2000 Hz</translation>
    </message>
    <message>
        <source>4000Hz</source>
        <translation>4000 Hz</translation>
    </message>
    <message>
        <source>8000Hz</source>
        <translation>8000 Hz</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>AUS</translation>
    </message>
    <message>
        <source>KV Speed Mode</source>
        <translation>KV-Tempo</translation>
    </message>
    <message>
        <source>KV Safe Mode</source>
        <translation>KV-Sicher</translation>
    </message>
    <message>
        <source>CPI level %1: how far the pointer moves for each inch the mouse moves, %2; X is horizontal, Y vertical. Higher is faster.</source>
        <translation>CPI-Stufe %1: wie weit sich der Zeiger je Zoll Mausweg bewegt, %2; X ist waagrecht, Y senkrecht. Höher ist schneller.</translation>
    </message>
    <message>
        <source>Multiclick filter of the %1: ignores the extra clicks a worn switch can send right after a real one. 0 to 25: higher filters more, but very fast double clicks may be lost.</source>
        <translation>Mehrfachklickfilter der %1: übergeht die zusätzlichen Klicks, die ein abgenutzter Schalter direkt nach einem echten senden kann. 0 bis 25: höher filtert mehr, doch sehr schnelle Doppelklicks können verloren gehen.</translation>
    </message>
    <message>
        <source>Switch mode of the %1. OFF uses the multiclick filter; KV Speed Mode registers clicks fastest; KV Safe Mode guards best against double clicks.</source>
        <translation>Schaltermodus der %1. AUS nutzt den Mehrfachklickfilter; KV-Tempo erkennt Klicks am schnellsten; KV-Sicher schützt am besten vor Doppelklicks.</translation>
    </message>
    <message>
        <source>What %1 does: a mouse click, a keyboard key, a CPI change, a media key, or nothing.</source>
        <translation>Was %1 tut: ein Mausklick, eine Tastaturtaste, ein CPI-Wechsel, eine Medientaste oder nichts.</translation>
    </message>
    <message>
        <source>CPI Levels</source>
        <translation>CPI-Stufen</translation>
    </message>
    <message>
        <source>How many CPI levels the mouse&apos;s CPI button steps through (1 to 4).</source>
        <translation>Durch wie viele CPI-Stufen die CPI-Taste der Maus schaltet (1 bis 4).</translation>
    </message>
    <message>
        <source>CPI 1</source>
        <translation>CPI 1</translation>
    </message>
    <message>
        <source>CPI 2</source>
        <translation>CPI 2</translation>
    </message>
    <message>
        <source>CPI 3</source>
        <translation>CPI 3</translation>
    </message>
    <message>
        <source>CPI 4</source>
        <translation>CPI 4</translation>
    </message>
    <message>
        <source>LOD</source>
        <translation>LOD</translation>
    </message>
    <message>
        <source>Lift-off distance: how high the mouse can be lifted before it stops tracking (1 or 2 mm). Lower stops the pointer drifting when you lift and reposition it.</source>
        <translation>Abhebehöhe: wie hoch die Maus angehoben werden kann, bevor sie nicht mehr abtastet (1 oder 2 mm). Niedriger verhindert, dass der Zeiger beim Anheben und Umsetzen wandert.</translation>
    </message>
    <message>
        <source>Angle Snapping</source>
        <translation>Winkelkorrektur</translation>
    </message>
    <message>
        <source>Straightens slightly shaky hand movements into straight lines. Most players leave it off, as it also bends small aiming corrections.</source>
        <translation>Begradigt leicht zittrige Handbewegungen zu geraden Linien. Die meisten Spieler lassen sie aus, da sie auch kleine Zielkorrekturen verbiegt.</translation>
    </message>
    <message>
        <source>Ripple Control</source>
        <translation>Glättung</translation>
    </message>
    <message>
        <source>Smooths out pointer jitter at high CPI, at the cost of a tiny delay. Leave it off unless the pointer shakes at high CPI.</source>
        <translation>Glättet Zeigerzittern bei hoher CPI, um den Preis einer winzigen Verzögerung. Lassen Sie sie aus, solange der Zeiger bei hoher CPI nicht zittert.</translation>
    </message>
    <message>
        <source>Motion Sync</source>
        <translation>Motion Sync</translation>
    </message>
    <message>
        <source>Times the sensor&apos;s readings to the computer&apos;s polling for steadier tracking, with a slight delay. 8000 Hz is not offered while it is on.</source>
        <translation>Stimmt die Messungen des Sensors auf die Abfragen des Computers ab, für ruhigeres Abtasten mit leichter Verzögerung. Solange es an ist, gibt es keine 8000 Hz.</translation>
    </message>
    <message>
        <source>Polling Rate</source>
        <translation>Abfragerate</translation>
    </message>
    <message>
        <source>How many times a second the mouse reports to the computer, in Hz. Higher feels smoother but costs more CPU; try lower if games stutter.</source>
        <translation>Wie oft pro Sekunde die Maus an den Computer meldet, in Hz. Höher wirkt flüssiger, kostet aber mehr Rechenzeit; ruckeln Spiele, versuchen Sie weniger.</translation>
    </message>
    <message>
        <source>Slamclick Filter</source>
        <translation>Aufsetzfilter</translation>
    </message>
    <message>
        <source>Ignores the false clicks that can happen when the mouse is slammed down or lifted quickly.</source>
        <translation>Übergeht falsche Klicks, die entstehen können, wenn die Maus hart aufgesetzt oder schnell angehoben wird.</translation>
    </message>
    <message>
        <source>Left Button SPDT</source>
        <translation>Linke Taste SPDT</translation>
    </message>
    <message>
        <source>left button</source>
        <translation>linken Taste</translation>
    </message>
    <message>
        <source>Right Button SPDT</source>
        <translation>Rechte Taste SPDT</translation>
    </message>
    <message>
        <source>right button</source>
        <translation>rechten Taste</translation>
    </message>
    <message>
        <source>Left Button Multiclick Filter</source>
        <translation>Filter linke Taste</translation>
    </message>
    <message>
        <source>Right Button Multiclick Filter</source>
        <translation>Filter rechte Taste</translation>
    </message>
    <message>
        <source>Middle Button Multiclick Filter</source>
        <translation>Filter mittlere Taste</translation>
    </message>
    <message>
        <source>middle button</source>
        <translation>mittleren Taste</translation>
    </message>
    <message>
        <source>Forward Button Multiclick Filter</source>
        <translation>Filter Vorwärtstaste</translation>
    </message>
    <message>
        <source>forward button</source>
        <translation>Vorwärtstaste</translation>
    </message>
    <message>
        <source>Back Button Multiclick Filter</source>
        <translation>Filter Zurück-Taste</translation>
    </message>
    <message>
        <source>back button</source>
        <translation>Zurück-Taste</translation>
    </message>
    <message>
        <source>Left-handed Mode</source>
        <translation>Linkshändermodus</translation>
    </message>
    <message>
        <source>Swaps the two main buttons for left-handed use: the right button clicks, and the left button takes the action the right one had.</source>
        <translation>Vertauscht die beiden Haupttasten für Linkshänder: die rechte Taste klickt, und die linke übernimmt die Aktion der rechten.</translation>
    </message>
    <message>
        <source>Left Button</source>
        <translation>Linke Taste</translation>
    </message>
    <message>
        <source>the left button (in left-handed mode; otherwise it gives LEFT CLICK)</source>
        <translation>die linke Taste (im Linkshändermodus; sonst gibt sie LINKSKLICK)</translation>
    </message>
    <message>
        <source>Right Button</source>
        <translation>Rechte Taste</translation>
    </message>
    <message>
        <source>the right button (in right-handed mode; otherwise it gives LEFT CLICK)</source>
        <translation>die rechte Taste (im Rechtshändermodus; sonst gibt sie LINKSKLICK)</translation>
    </message>
    <message>
        <source>Middle Button</source>
        <translation>Mittlere Taste</translation>
    </message>
    <message>
        <source>the middle button (pressing the wheel)</source>
        <translation>die mittlere Taste (Druck aufs Rad)</translation>
    </message>
    <message>
        <source>Forward Button</source>
        <translation>Vorwärtstaste</translation>
    </message>
    <message>
        <source>the forward side button</source>
        <translation>die vordere Seitentaste</translation>
    </message>
    <message>
        <source>Back Button</source>
        <translation>Zurück-Taste</translation>
    </message>
    <message>
        <source>the back side button</source>
        <translation>die hintere Seitentaste</translation>
    </message>
    <message>
        <source>Wheel Up</source>
        <translation>Rad hoch</translation>
    </message>
    <message>
        <source>scrolling the wheel up</source>
        <translation>das Rad nach oben drehen</translation>
    </message>
    <message>
        <source>Wheel Down</source>
        <translation>Rad runter</translation>
    </message>
    <message>
        <source>scrolling the wheel down</source>
        <translation>das Rad nach unten drehen</translation>
    </message>
    <message>
        <source>%1 to %2 in steps of %3</source>
        <translation>%1 bis %2 in Schritten von %3</translation>
    </message>
</context>
<context>
    <name>lark::AdvancedSettingsPage</name>
    <message>
        <source>SPDT:</source>
        <translation>SPDT:</translation>
    </message>
    <message>
        <source>Enter an integer between 0 and 255.</source>
        <translation>Geben Sie eine ganze Zahl von 0 bis 255 ein.</translation>
    </message>
</context>
<context>
    <name>lark::BasicSettingsPage</name>
    <message>
        <source>X/Y Settings</source>
        <translation>X/Y getrennt</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
</context>
<context>
    <name>lark::ButtonMappingPage</name>
    <message>
        <source>MOUSE</source>
        <translation>MAUS</translation>
    </message>
    <message>
        <source>KEYBOARD KEY</source>
        <translation>TASTATURTASTE</translation>
    </message>
    <message>
        <source>CPI</source>
        <translation>CPI</translation>
    </message>
    <message>
        <source>FIXED CPI</source>
        <translation>FESTE CPI</translation>
    </message>
    <message>
        <source>MEDIA</source>
        <translation>MEDIEN</translation>
    </message>
</context>
<context>
    <name>lark::CpiPairGroup</name>
    <message>
        <source>Enter a positive integer.</source>
        <translation>Geben Sie eine positive ganze Zahl ein.</translation>
    </message>
</context>
<context>
    <name>lark::FixedCpiDialog</name>
    <message>
        <source>FIXED CPI</source>
        <translation>FESTE CPI</translation>
    </message>
    <message>
        <source>X/Y Settings</source>
        <translation>X/Y getrennt</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>lark::KeyCaptureDialog</name>
    <message>
        <source>KEYBOARD KEY</source>
        <translation>TASTATURTASTE</translation>
    </message>
    <message>
        <source>Enter a key:</source>
        <translation>Taste drücken:</translation>
    </message>
    <message>
        <source>SHIFT</source>
        <translation>UMSCH</translation>
    </message>
    <message>
        <source>CTRL</source>
        <translation>STRG</translation>
    </message>
    <message>
        <source>WIN</source>
        <translation>WIN</translation>
    </message>
    <message>
        <source>ALT</source>
        <translation>ALT</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>hook failed.</source>
        <translation>Tastaturabfrage fehlgeschlagen.</translation>
    </message>
    <message>
        <source>This key cannot be assigned.</source>
        <translation>Diese Taste ist nicht belegbar.</translation>
    </message>
</context>
<context>
    <name>lark::MainWindow</name>
    <message>
        <source>Looking for the mouse…</source>
        <translation>Maus wird gesucht…</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>Verbinden…</translation>
    </message>
    <message>
        <source>Reading the mouse&apos;s settings…</source>
        <translation>Einstellungen der Maus werden gelesen…</translation>
    </message>
    <message>
        <source>Applying…</source>
        <translation>Wird übernommen…</translation>
    </message>
    <message>
        <source>Restoring factory settings…</source>
        <translation>Werkseinstellungen werden hergestellt…</translation>
    </message>
    <message>
        <source>Settings applied.</source>
        <translation>Einstellungen übernommen.</translation>
    </message>
    <message>
        <source>The mouse did not accept the settings. Press APPLY to try again.</source>
        <translation>Die Maus hat die Einstellungen nicht angenommen. Mit ÜBERNEHMEN erneut versuchen.</translation>
    </message>
    <message>
        <source>Mouse not found. Check that it is plugged in.</source>
        <translation>Maus nicht gefunden. Ist sie eingesteckt?</translation>
    </message>
    <message>
        <source>Waiting for the mouse: plug it in and it will be found by itself (F5 looks again).</source>
        <translation>Warten auf die Maus: einstecken, sie wird von selbst gefunden (F5 sucht erneut).</translation>
    </message>
    <message>
        <source>The mouse is here, but held by another program: close that program and press F5 to try again.</source>
        <translation>Die Maus ist da, aber ein anderes Programm belegt sie: dieses Programm schließen und mit F5 erneut versuchen.</translation>
    </message>
    <message>
        <source>The mouse is here, but permission denied: install the udev rule (README, &quot;Using the real mouse&quot;) and replug it.</source>
        <translation>Die Maus ist da, aber der Zugriff wurde verweigert: udev-Regel installieren (README, „Using the real mouse“) und neu einstecken.</translation>
    </message>
    <message>
        <source>Factory settings restored.</source>
        <translation>Werkseinstellungen hergestellt.</translation>
    </message>
    <message>
        <source>The factory reset could not be sent to the mouse.</source>
        <translation>Das Zurücksetzen konnte nicht an die Maus gesendet werden.</translation>
    </message>
    <message>
        <source>The mouse did not confirm the factory reset; its settings may be unchanged.</source>
        <translation>Die Maus hat das Zurücksetzen nicht bestätigt; ihre Einstellungen sind womöglich unverändert.</translation>
    </message>
    <message>
        <source>The mouse&apos;s settings could not be read. Press F5 to try again.</source>
        <translation>Die Einstellungen der Maus konnten nicht gelesen werden. Mit F5 erneut versuchen.</translation>
    </message>
    <message>
        <source>The mouse&apos;s settings could not be read, so nothing was written. Press APPLY to try again.</source>
        <translation>Die Einstellungen der Maus konnten nicht gelesen werden, daher wurde nichts geschrieben. Mit ÜBERNEHMEN erneut versuchen.</translation>
    </message>
    <message>
        <source>Nothing was written: correct the value on the page first.</source>
        <translation>Nichts wurde geschrieben: erst den Wert auf der Seite berichtigen.</translation>
    </message>
    <message>
        <source>The mouse was unplugged. Plug it in again and it will be found by itself.</source>
        <translation>Die Maus wurde abgezogen. Wieder einstecken, sie wird von selbst gefunden.</translation>
    </message>
    <message>
        <source>The polling rate was changed with the mouse&apos;s button; the mouse keeps it.</source>
        <translation>Die Abfragerate wurde mit der Taste der Maus geändert; die Maus behält sie.</translation>
    </message>
    <message>
        <source>Profile loaded. Press APPLY to send it to the mouse.</source>
        <translation>Profil geladen. Mit ÜBERNEHMEN an die Maus senden.</translation>
    </message>
    <message>
        <source>Profile saved.</source>
        <translation>Profil gespeichert.</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Firmware Version :</source>
        <translation>Firmware :</translation>
    </message>
    <message>
        <source>Software Version :</source>
        <translation>Software :</translation>
    </message>
    <message>
        <source>Factory Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>APPLY</source>
        <translation>ÜBERNEHMEN</translation>
    </message>
    <message>
        <source>Read settings again</source>
        <translation>Einstellungen neu lesen</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Save profile…</source>
        <translation>Profil speichern…</translation>
    </message>
    <message>
        <source>Load profile…</source>
        <translation>Profil laden…</translation>
    </message>
    <message>
        <source>About…</source>
        <translation>Über…</translation>
    </message>
    <message>
        <source>Basic Settings</source>
        <translation>Grundeinstellungen</translation>
    </message>
    <message>
        <source>Advanced Settings</source>
        <translation>Erweitert</translation>
    </message>
    <message>
        <source>Button Mapping</source>
        <translation>Tastenbelegung</translation>
    </message>
    <message>
        <source>RegisterDeviceNotification Failed!</source>
        <translation>Geräteüberwachung fehlgeschlagen!</translation>
    </message>
    <message>
        <source>Discard the changes and read the mouse&apos;s settings again?</source>
        <translation>Änderungen verwerfen und die Einstellungen der Maus neu lesen?</translation>
    </message>
    <message>
        <source>Save profile</source>
        <translation>Profil speichern</translation>
    </message>
    <message>
        <source>Profiles (*.json);;All files (*)</source>
        <translation>Profile (*.json);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Load profile</source>
        <translation>Profil laden</translation>
    </message>
    <message>
        <source>The profile was not saved.</source>
        <translation>Das Profil wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>The profile was not loaded.</source>
        <translation>Das Profil wurde nicht geladen.</translation>
    </message>
    <message>
        <source>Mouse not found, so nothing was sent; your changes are kept. Check that it is plugged in and try again.</source>
        <translation>Maus nicht gefunden, daher wurde nichts gesendet; Ihre Änderungen bleiben erhalten. Ist sie eingesteckt? Dann erneut versuchen.</translation>
    </message>
</context>
</TS>
