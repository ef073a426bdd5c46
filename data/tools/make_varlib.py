#!/usr/bin/env python3
"""Writes the completion lists varLib01.db / varLib02.db, the catalogue varLib03.db that the
template check and the preview read, and the explorer pages under varLib/.

The catalogue below is the one place where the template variables of the Tarvex look are
described; the lists and the pages are generated from it so they can never disagree. Run it
after changing the catalogue and commit the generated files (the build only copies them):

    python3 data/tools/make_varlib.py

The template language, as the web application reads a page (docs/template-language.md says
the same at more length):

- A construct is "%%", a name, "%%", all on one line. A name is made of letters, digits,
  "_", ":", ".", "/", "-" (and the code page's letters). Names are case-sensitive.
- %%name%% is replaced by the variable's value; %%LANGnnn%% (three digits) by text nnn of
  the language list in the user's language.
- %%INCLUDE:name%% is replaced by the page that template "name" of the pack makes.
- %%IF:name%% ... %%ELSE%% ... %%ENDIF%% keeps the first part when the variable is not
  empty, else the part after %%ELSE%% (which may be left out).
- %%LOOP:name%% ... %%ENDLOOP%% repeats its body once for every entry of the list "name"
  (the loops are the LOOP entries of BLOCKS); inside, the variables take the entry's values.
- Blocks nest, and each template closes the blocks it opens: an IF opened in header.htm
  cannot be closed by the page that includes it.
- %%tpl_url%% is the address of the pack's folder; a path after it names a file or a style
  sheet of the pack ("%%tpl_url%%img/logo.png", "%%tpl_url%%main.css").
- A "%%" directly followed by a third "%" leaves the first "%" as plain text, so
  "width:%%user_quota_percent%%%" ends in a percent sign. Any other "%%" that does not start
  a construct is a mistake.
- Style sheets (templates whose name ends in ".css") are served as they are: nothing in
  them is replaced, and their url(...) addresses are relative to the style sheet.
"""

import html
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.dirname(HERE)

# Groups: label shown in the first column of the completion list, heading on the pages.
GROUPS = {
    "System": "Allgemeine Angaben der Anwendung",
    "Navi": "Verweise der Navigation",
    "Konto": "Angemeldetes Konto",
    "Login": "Anmeldung",
    "Liste": "Nachrichtenliste",
    "Mail": "Nachricht",
    "Anhang": "Anhänge einer Nachricht",
    "Neu": "Nachricht verfassen",
    "Ordner": "Ordnerverwaltung",
    "Kontakt": "Adressbuch",
    "Option": "Einstellungen",
    "Fehler": "Fehler und Abmeldung",
}

# (group, name, description, templates whose page lists it; "*" = every page)
VARIABLES = [
    ("System", "app_name", "Name der Anwendung, z. B. Tarvex Mail", "*"),
    ("System", "app_version", "Versionsnummer der Anwendung", "*"),
    ("System", "tpl_url", "Adresse des Pack-Ordners; davor stehen Bilder und Style-Sheets", "*"),
    ("System", "tpl_folder", "Ordnername des Packs in der Anwendung", "*"),
    ("System", "self_url", "Adresse der aktuellen Seite (zum Neuladen)", "*"),
    ("System", "session_id", "Kennung der Sitzung, für eigene Verweise", "*"),
    ("System", "charset", "Zeichensatz der Seite, z. B. windows-1252", "header.htm login.htm logout.htm error.htm"),
    ("System", "lang_code", "Sprachkürzel des Benutzers, z. B. de", "header.htm login.htm logout.htm error.htm"),
    ("System", "page_title", "Titel der aktuellen Seite", "header.htm"),
    ("System", "date_today", "Heutiges Datum im Format des Benutzers", "footer.htm"),
    ("System", "time_now", "Aktuelle Uhrzeit", "footer.htm"),
    ("System", "server_name", "Name des Mail-Servers", "footer.htm"),
    ("Navi", "nav_inbox", "Verweis auf den Posteingang", "header.htm inbox.htm"),
    ("Navi", "nav_compose", "Verweis auf „Verfassen“", "header.htm inbox.htm"),
    ("Navi", "nav_folders", "Verweis auf die Ordnerverwaltung", "header.htm"),
    ("Navi", "nav_addressbook", "Verweis auf das Adressbuch", "header.htm compose.htm"),
    ("Navi", "nav_settings", "Verweis auf die Einstellungen", "header.htm"),
    ("Navi", "logout_url", "Verweis zum Abmelden", "header.htm"),
    ("Konto", "user_name", "Anmeldename des Benutzers", "header.htm settings.htm"),
    ("Konto", "user_fullname", "Vollständiger Name des Benutzers", "header.htm"),
    ("Konto", "user_email", "E-Mail-Adresse des Kontos", "header.htm"),
    ("Konto", "user_last_login", "Zeitpunkt der letzten Anmeldung", "header.htm inbox.htm"),
    ("Konto", "user_quota_used", "Belegter Speicherplatz, z. B. 12,4 MB", "header.htm"),
    ("Konto", "user_quota_total", "Verfügbarer Speicherplatz; leer ohne Begrenzung", "header.htm"),
    ("Konto", "user_quota_percent", "Belegung in Prozent, ohne Prozentzeichen", "header.htm"),
    ("Login", "login_action", "Ziel des Anmeldeformulars", "login.htm"),
    ("Login", "login_error", "Fehlermeldung nach einer falschen Anmeldung", "login.htm"),
    ("Login", "login_user", "Zuletzt eingegebener Benutzername", "login.htm"),
    ("Login", "login_domain_select", "Option-Elemente der Domain-Auswahl", "login.htm"),
    ("Login", "login_lang_select", "Option-Elemente der Sprachauswahl", "login.htm"),
    ("Login", "login_url", "Verweis auf die Anmeldeseite", "logout.htm error.htm"),
    ("Liste", "folder_name", "Name des angezeigten Ordners", "inbox.htm"),
    ("Liste", "folder_id", "Kennung des angezeigten Ordners", "inbox.htm"),
    ("Liste", "msg_count", "Anzahl der Nachrichten im Ordner", "inbox.htm"),
    ("Liste", "msg_unread", "Anzahl der ungelesenen Nachrichten", "inbox.htm"),
    ("Liste", "list_action", "Ziel des Listenformulars (Löschen, Verschieben)", "inbox.htm"),
    ("Liste", "page_current", "Nummer der angezeigten Seite", "inbox.htm"),
    ("Liste", "page_total", "Anzahl der Seiten", "inbox.htm"),
    ("Liste", "page_prev_url", "Verweis auf die vorige Seite; leer auf Seite 1", "inbox.htm"),
    ("Liste", "page_next_url", "Verweis auf die nächste Seite; leer auf der letzten", "inbox.htm"),
    ("Liste", "sort_url_date", "Verweis: nach Datum sortieren", "inbox.htm"),
    ("Liste", "sort_url_from", "Verweis: nach Absender sortieren", "inbox.htm"),
    ("Liste", "sort_url_subject", "Verweis: nach Betreff sortieren", "inbox.htm"),
    ("Mail", "msg_id", "Kennung der Nachricht (für Formulare)", "inbox.htm message.htm"),
    ("Mail", "msg_url", "Verweis zum Öffnen der Nachricht", "inbox.htm"),
    ("Mail", "msg_from", "Name des Absenders", "inbox.htm message.htm"),
    ("Mail", "msg_from_email", "E-Mail-Adresse des Absenders", "inbox.htm message.htm"),
    ("Mail", "msg_from_mailto", "Verweis: dem Absender schreiben", "message.htm"),
    ("Mail", "msg_to", "Empfänger", "message.htm"),
    ("Mail", "msg_cc", "Empfänger in Kopie", "message.htm"),
    ("Mail", "msg_subject", "Betreff", "inbox.htm message.htm"),
    ("Mail", "msg_date", "Datum und Uhrzeit des Eingangs", "inbox.htm message.htm"),
    ("Mail", "msg_size", "Größe, z. B. 14 KB", "inbox.htm message.htm"),
    ("Mail", "msg_priority", "Priorität als Text; leer bei normaler Priorität", "message.htm"),
    ("Mail", "msg_is_unread", "Bedingung: Nachricht ist ungelesen", "inbox.htm"),
    ("Mail", "msg_has_attachment", "Bedingung: Nachricht hat Anhänge", "inbox.htm message.htm"),
    ("Mail", "msg_body", "Text der Nachricht, bereits als HTML aufbereitet", "message.htm"),
    ("Mail", "msg_reply_url", "Verweis: antworten", "message.htm"),
    ("Mail", "msg_replyall_url", "Verweis: allen antworten", "message.htm"),
    ("Mail", "msg_forward_url", "Verweis: weiterleiten", "message.htm"),
    ("Mail", "msg_delete_url", "Verweis: löschen", "message.htm"),
    ("Mail", "msg_print_url", "Verweis: Druckansicht", "message.htm"),
    ("Mail", "msg_source_url", "Verweis: Quelltext der Nachricht", "message.htm"),
    ("Anhang", "att_name", "Dateiname des Anhangs", "message.htm"),
    ("Anhang", "att_size", "Größe des Anhangs", "message.htm"),
    ("Anhang", "att_type", "MIME-Typ des Anhangs, z. B. image/png", "message.htm"),
    ("Anhang", "att_url", "Verweis zum Herunterladen", "message.htm"),
    ("Neu", "compose_action", "Ziel des Formulars „Verfassen“", "compose.htm"),
    ("Neu", "compose_to", "Vorbelegter Empfänger", "compose.htm"),
    ("Neu", "compose_cc", "Vorbelegte Kopie-Empfänger", "compose.htm"),
    ("Neu", "compose_bcc", "Vorbelegte Blindkopie-Empfänger", "compose.htm"),
    ("Neu", "compose_subject", "Vorbelegter Betreff (Re:, Fwd:)", "compose.htm"),
    ("Neu", "compose_body", "Vorbelegter Text, z. B. das Zitat", "compose.htm"),
    ("Neu", "compose_signature", "Signatur des Benutzers", "compose.htm"),
    ("Neu", "compose_max_size", "Größte erlaubte Anhanggröße", "compose.htm"),
    ("Ordner", "fld_name", "Name des Ordners", "folders.htm"),
    ("Ordner", "fld_url", "Verweis zum Öffnen des Ordners", "folders.htm"),
    ("Ordner", "fld_count", "Anzahl der Nachrichten im Ordner", "folders.htm"),
    ("Ordner", "fld_unread", "Anzahl ungelesener Nachrichten", "folders.htm"),
    ("Ordner", "fld_size", "Belegter Platz des Ordners", "folders.htm"),
    ("Ordner", "fld_delete_url", "Verweis: Ordner löschen; leer bei Systemordnern", "folders.htm"),
    ("Ordner", "folder_new_action", "Ziel des Formulars „Neuer Ordner“", "folders.htm"),
    ("Kontakt", "contact_count", "Anzahl der Kontakte", "addressbook.htm"),
    ("Kontakt", "contact_name", "Name des Kontakts", "addressbook.htm"),
    ("Kontakt", "contact_email", "E-Mail-Adresse des Kontakts", "addressbook.htm"),
    ("Kontakt", "contact_phone", "Telefonnummer", "addressbook.htm"),
    ("Kontakt", "contact_company", "Firma", "addressbook.htm"),
    ("Kontakt", "contact_mail_url", "Verweis: dem Kontakt schreiben", "addressbook.htm"),
    ("Kontakt", "contact_edit_url", "Verweis: Kontakt bearbeiten", "addressbook.htm"),
    ("Kontakt", "contact_delete_url", "Verweis: Kontakt löschen", "addressbook.htm"),
    ("Kontakt", "contact_new_action", "Verweis: neuen Kontakt anlegen", "addressbook.htm"),
    ("Option", "settings_action", "Ziel des Einstellungsformulars", "settings.htm"),
    ("Option", "set_fullname", "Gespeicherter Name", "settings.htm"),
    ("Option", "set_reply_to", "Gespeicherte Antwortadresse", "settings.htm"),
    ("Option", "set_per_page", "Nachrichten je Seite", "settings.htm"),
    ("Option", "set_lang_select", "Option-Elemente der Sprachauswahl", "settings.htm"),
    ("Option", "set_signature", "Gespeicherte Signatur", "settings.htm"),
    ("Fehler", "error_message", "Fehlermeldung der Anwendung", "error.htm compose.htm settings.htm"),
    ("Fehler", "error_code", "Fehlernummer; leer, wenn keine vorliegt", "error.htm"),
]

# Sample values the preview shows for each variable. A list gives one value for each pass of
# the loop around the variable, taken in turn. %%tpl_url%% needs none: the preview puts its
# own address of the pack there, and %%tpl_folder%% shows the pack's folder name.
SAMPLES = {
    "app_name": "Tarvex Mail", "app_version": "4.2", "tpl_folder": "standard", "self_url": "#",
    "session_id": "a81f3c9e", "charset": "windows-1252", "lang_code": "de", "page_title": "Posteingang",
    "date_today": "14.03.2025", "time_now": "09:41", "server_name": "mail.tarvex.example",
    "nav_inbox": "#", "nav_compose": "#", "nav_folders": "#", "nav_addressbook": "#",
    "nav_settings": "#", "logout_url": "#",
    "user_name": "jkrause", "user_fullname": "Julia Krause", "user_email": "julia.krause@tarvex.example",
    "user_last_login": "13.03.2025, 17:52", "user_quota_used": "12,4 MB", "user_quota_total": "50 MB",
    "user_quota_percent": "25",
    "login_action": "#", "login_error": "Benutzername oder Passwort ist falsch.", "login_user": "jkrause",
    "login_domain_select": '<option selected>tarvex.example</option><option>beispiel.example</option>',
    "login_lang_select": '<option value="de" selected>Deutsch</option><option value="en">English</option>',
    "login_url": "#",
    "folder_name": "Posteingang", "folder_id": "INBOX", "msg_count": "3", "msg_unread": "1",
    "list_action": "#", "page_current": "1", "page_total": "4", "page_prev_url": "#", "page_next_url": "#",
    "sort_url_date": "#", "sort_url_from": "#", "sort_url_subject": "#",
    "msg_id": ["1041", "1040", "1037"], "msg_url": "#",
    "msg_from": ["Anna Berger", "Lohnbüro", "Markus Wendt"],
    "msg_from_email": ["anna.berger@beispiel.example", "lohn@tarvex.example", "m.wendt@beispiel.example"],
    "msg_from_mailto": "#", "msg_to": "Julia Krause &lt;julia.krause@tarvex.example&gt;",
    "msg_cc": "Vertrieb &lt;vertrieb@tarvex.example&gt;",
    "msg_subject": ["Treffen am Montag", "Gehaltsabrechnung März", "Urlaubsfotos"],
    "msg_date": ["14.03.2025 08:15", "13.03.2025 16:02", "12.03.2025 19:47"],
    "msg_size": ["4 KB", "118 KB", "2,3 MB"], "msg_priority": "Hoch", "msg_is_unread": "1",
    "msg_has_attachment": "1",
    "msg_body": "Hallo Julia,<br><br>wollen wir uns am Montag um 10 Uhr treffen?<br><br>Viele Grüße<br>Anna",
    "msg_reply_url": "#", "msg_replyall_url": "#", "msg_forward_url": "#", "msg_delete_url": "#",
    "msg_print_url": "#", "msg_source_url": "#",
    "att_name": ["Protokoll.pdf", "Lageplan.png", "Agenda.txt"], "att_size": ["84 KB", "312 KB", "2 KB"],
    "att_type": ["application/pdf", "image/png", "text/plain"], "att_url": "#",
    "compose_action": "#", "compose_to": "anna.berger@beispiel.example", "compose_cc": "vertrieb@tarvex.example",
    "compose_bcc": "archiv@tarvex.example", "compose_subject": "Re: Treffen am Montag",
    "compose_body": "&gt; wollen wir uns am Montag um 10 Uhr treffen?", "compose_signature": "Julia Krause · Vertrieb",
    "compose_max_size": "10 MB",
    "fld_name": ["Posteingang", "Entwürfe", "Gesendet"], "fld_url": "#", "fld_count": ["128", "3", "412"],
    "fld_unread": ["1", "0", "0"], "fld_size": ["8,1 MB", "40 KB", "23,5 MB"], "fld_delete_url": "#",
    "folder_new_action": "#",
    "contact_count": "3", "contact_name": ["Anna Berger", "Markus Wendt", "Sabine Öztürk"],
    "contact_email": ["anna.berger@beispiel.example", "m.wendt@beispiel.example", "s.oeztuerk@beispiel.example"],
    "contact_phone": ["030 1234567", "089 7654321", "0221 555012"],
    "contact_company": ["Berger &amp; Co.", "Wendt Logistik", "Öztürk Design"],
    "contact_mail_url": "#", "contact_edit_url": "#", "contact_delete_url": "#", "contact_new_action": "#",
    "settings_action": "#", "set_fullname": "Julia Krause", "set_reply_to": "julia.krause@tarvex.example",
    "set_per_page": "25",
    "set_lang_select": '<option value="de" selected>Deutsch</option><option value="en">English</option>',
    "set_signature": "Julia Krause · Vertrieb",
    "error_message": "Die Sitzung ist abgelaufen. Bitte melden Sie sich erneut an.", "error_code": "401",
}

# Blocks: (label, insert text, description, templates)
BLOCKS = [
    ("Block", "%%INCLUDE:header.htm%%", "Kopf und Navigation einfügen", "*"),
    ("Block", "%%INCLUDE:footer.htm%%", "Fußzeile einfügen", "*"),
    ("Block", "%%IF:", "Bedingung beginnen: %%IF:name%%", "*"),
    ("Block", "%%ELSE%%", "Sonst-Zweig einer Bedingung", "*"),
    ("Block", "%%ENDIF%%", "Bedingung beenden", "*"),
    ("Block", "%%LOOP:messages%%", "Schleife über die Nachrichten des Ordners", "inbox.htm"),
    ("Block", "%%LOOP:attachments%%", "Schleife über die Anhänge", "message.htm"),
    ("Block", "%%LOOP:folders%%", "Schleife über die Ordner", "folders.htm"),
    ("Block", "%%LOOP:contacts%%", "Schleife über die Kontakte", "addressbook.htm"),
    ("Block", "%%ENDLOOP%%", "Schleife beenden", "*"),
]

# Texts of the language file: number, German text, English text.
LANG = [
    (1, "Posteingang", "Inbox"), (2, "Verfassen", "Compose"), (3, "Ordner", "Folders"),
    (4, "Adressbuch", "Address book"), (5, "Einstellungen", "Settings"), (6, "Abmelden", "Log out"),
    (7, "Anmelden", "Log in"), (8, "Benutzername", "User name"), (9, "Passwort", "Password"),
    (10, "Domain", "Domain"), (11, "Sprache", "Language"), (12, "Von", "From"), (13, "An", "To"),
    (14, "Kopie (CC)", "Copy (CC)"), (15, "Blindkopie (BCC)", "Blind copy (BCC)"),
    (16, "Betreff", "Subject"), (17, "Datum", "Date"), (18, "Größe", "Size"),
    (19, "Antworten", "Reply"), (20, "Allen antworten", "Reply all"), (21, "Weiterleiten", "Forward"),
    (22, "Löschen", "Delete"), (23, "Drucken", "Print"), (24, "Quelltext anzeigen", "View source"),
    (25, "Anhänge", "Attachments"), (26, "Senden", "Send"), (27, "Entwurf speichern", "Save draft"),
    (28, "Zurück", "Back"), (29, "Weiter", "Next"), (30, "Seite", "Page"), (31, "von", "of"),
    (32, "Nachrichten", "Messages"), (33, "ungelesen", "unread"), (34, "Neuer Ordner", "New folder"),
    (35, "Anlegen", "Create"), (36, "Name", "Name"), (37, "E-Mail-Adresse", "E-mail address"),
    (38, "Telefon", "Phone"), (39, "Firma", "Company"), (40, "Neuer Kontakt", "New contact"),
    (41, "Bearbeiten", "Edit"), (42, "Speichern", "Save"), (43, "Signatur", "Signature"),
    (44, "Antwortadresse", "Reply-to address"), (45, "Nachrichten pro Seite", "Messages per page"),
    (46, "Speicherplatz belegt", "Storage used"),
    (47, "Sie wurden erfolgreich abgemeldet.", "You have been logged out."),
    (48, "Erneut anmelden", "Log in again"), (49, "Es ist ein Fehler aufgetreten.", "An error occurred."),
    (50, "Dieser Ordner enthält keine Nachrichten.", "This folder holds no messages."),
    (51, "Keine Kontakte vorhanden.", "No contacts yet."), (52, "Datei anhängen", "Attach file"),
    (53, "Priorität", "Priority"), (54, "Hoch", "High"), (55, "Normal", "Normal"), (56, "Niedrig", "Low"),
    (57, "Bitte melden Sie sich nach der Sitzung ab.", "Please log out when you are done."),
    (58, "Fehlercode", "Error code"), (59, "Zur Startseite", "Home"), (60, "Ungelesen", "Unread"),
]

# The standard templates: name, heading, what the page is for, snippets (label, text to insert).
TEMPLATES = [
    ("header.htm", "Kopf und Navigation",
     "Wird von allen Seiten nach dem Anmelden mit %%INCLUDE:header.htm%% eingebunden. Er beginnt "
     "das HTML-Dokument, bindet die Style-Sheets ein, zeigt Logo, Konto und Navigation und öffnet "
     "den Inhaltsbereich, den footer.htm wieder schließt.",
     [("Style-Sheet einbinden", '<link rel="stylesheet" type="text/css" href="%%tpl_url%%main.css">'),
      ("Logo", '<img src="%%tpl_url%%img/logo.png" width="150" height="40" alt="%%app_name%%">'),
      ("Navigationspunkt", '<li><a href="%%nav_inbox%%">%%LANG001%%</a></li>')]),
    ("footer.htm", "Fußzeile",
     "Schließt den Inhaltsbereich von header.htm und das HTML-Dokument. Alle Seiten nach dem "
     "Anmelden enden mit %%INCLUDE:footer.htm%%.",
     [("Versionszeile", "%%app_name%% %%app_version%%")]),
    ("login.htm", "Anmeldeseite",
     "Die erste Seite der Anwendung. Das Formular muss die Felder user und pass senden; domain und "
     "lang sind frei wählbar. Diese Seite bindet header.htm nicht ein, weil noch kein Konto "
     "angemeldet ist.",
     [("Fehlermeldung", '%%IF:login_error%%<p class="fehler">%%login_error%%</p>%%ENDIF%%'),
      ("Benutzerfeld", '<input class="text" type="text" name="user" value="%%login_user%%">'),
      ("Passwortfeld", '<input class="text" type="password" name="pass">')]),
    ("inbox.htm", "Posteingang und Nachrichtenliste",
     "Zeigt die Nachrichten eines Ordners seitenweise. Die Zeilen entstehen in der Schleife "
     "%%LOOP:messages%%; Kontrollkästchen mit dem Namen sel[] wählen Nachrichten für das "
     "Listenformular aus.",
     [("Schleife über Nachrichten", "%%LOOP:messages%%"),
      ("Zeile ungelesen markieren", '%%IF:msg_is_unread%% class="ungelesen"%%ENDIF%%'),
      ("Betreff als Verweis", '<a href="%%msg_url%%">%%msg_subject%%</a>'),
      ("Auswahlkästchen", '<input type="checkbox" name="sel[]" value="%%msg_id%%">')]),
    ("message.htm", "Nachrichtenansicht",
     "Zeigt eine geöffnete Nachricht mit Kopfdaten, Anhängen und Text. Die Anhänge stehen in der "
     "Schleife %%LOOP:attachments%%.",
     [("Antworten", '<a href="%%msg_reply_url%%">%%LANG019%%</a>'),
      ("Schleife über Anhänge", "%%LOOP:attachments%%"),
      ("Anhang als Verweis", '<a href="%%att_url%%">%%att_name%%</a> (%%att_size%%)')]),
    ("compose.htm", "Nachricht verfassen",
     "Formular zum Schreiben, Antworten und Weiterleiten. Die Felder to, cc, bcc, subject und body "
     "sind Pflicht; das Formular braucht enctype=\"multipart/form-data\", damit Anhänge "
     "hochgeladen werden können.",
     [("Empfängerfeld", '<input class="text" type="text" name="to" value="%%compose_to%%">'),
      ("Textfeld", '<textarea name="body" rows="18" cols="80">%%compose_body%%</textarea>'),
      ("Senden-Knopf", '<input class="knopf" type="submit" name="send" value="%%LANG026%%">')]),
    ("folders.htm", "Ordnerverwaltung",
     "Listet alle Ordner des Kontos in der Schleife %%LOOP:folders%% und bietet ein Formular für "
     "einen neuen Ordner (Feld name).",
     [("Schleife über Ordner", "%%LOOP:folders%%"),
      ("Ordner als Verweis", '<a href="%%fld_url%%">%%fld_name%%</a>')]),
    ("addressbook.htm", "Adressbuch",
     "Listet die Kontakte in der Schleife %%LOOP:contacts%%. Ohne Kontakte ist contact_count leer "
     "und der Sonst-Zweig wird gezeigt.",
     [("Schleife über Kontakte", "%%LOOP:contacts%%"),
      ("Kontakt anschreiben", '<a href="%%contact_mail_url%%">%%contact_email%%</a>')]),
    ("settings.htm", "Einstellungen",
     "Formular mit den persönlichen Einstellungen. Die Felder heißen fullname, replyto, perpage, "
     "lang und signature.",
     [("Signaturfeld", '<textarea name="signature">%%set_signature%%</textarea>')]),
    ("logout.htm", "Abmeldeseite",
     "Wird nach dem Abmelden gezeigt. Kein Konto ist mehr angemeldet, daher ohne header.htm.",
     [("Erneut anmelden", '<a href="%%login_url%%">%%LANG048%%</a>')]),
    ("error.htm", "Fehlerseite",
     "Wird gezeigt, wenn die Anwendung eine Anfrage nicht ausführen kann, zum Beispiel nach "
     "Ablauf der Sitzung.",
     [("Fehlermeldung", '<p class="fehler">%%error_message%%</p>')]),
    ("main.css", "Style-Sheet für den Bildschirm",
     "Gestaltung aller Seiten. Bilder werden relativ zum Style-Sheet angegeben, also etwa "
     "url(img/bg.png); im Style-Sheet werden keine Variablen ersetzt.",
     [("Hintergrundbild", "background: #eef1f5 url(img/bg.png) repeat-x top left;"),
      ("Kopfzeile mit Logo und Konto (header.htm)", "#kopf { }"),
      ("Navigation links (header.htm)", "#navi li a { }"),
      ("Inhaltsbereich jeder Seite", "#inhalt { }"),
      ("Fußzeile (footer.htm)", "#fuss { }"),
      ("Werkzeugleiste über Listen und Nachrichten", ".leiste { }"),
      ("Tabellen: Nachrichten, Ordner, Adressbuch", "table.liste th { }"),
      ("Ungelesene Nachricht in der Liste", "table.liste tr.ungelesen td { font-weight: bold; }"),
      ("Zahlenspalte rechtsbündig", "table.liste td.zahl { text-align: right; }"),
      ("Kopfdaten einer Nachricht (message.htm)", "table.kopfdaten td.feld { }"),
      ("Text einer Nachricht", ".nachricht { white-space: pre-wrap; }"),
      ("Anhänge einer Nachricht", ".anhaenge { }"),
      ("Speicherplatzbalken", ".quota .fuellung { background: #e8a317; }"),
      ("Knöpfe der Formulare", "input.knopf { }"),
      ("Hinweis und Fehlermeldung", ".hinweis, .fehler { }"),
      ("Kasten der Anmelde-, Abmelde- und Fehlerseite", "#anmeldung { }")]),
    ("print.css", "Style-Sheet für den Druck",
     "Wird von header.htm mit media=\"print\" eingebunden und blendet Navigation und Formulare "
     "beim Drucken aus.",
     [("Bereiche ausblenden", "#kopf, #navi, .leiste, form { display: none; }"),
      ("Seitenränder des Drucks", "@page { margin: 2cm; }"),
      ("Verweise mit Adresse drucken", '.nachricht a:after { content: " (" attr(href) ")"; }'),
      ("Seitenumbruch vor einem Bereich", ".anhaenge { page-break-before: always; }")]),
]

STYLE_BODY = "font-family:Arial,Helvetica,sans-serif; font-size:9pt; color:#1e2a38; margin:4px;"
# Headings are styled paragraphs: the HTML view gives h1/h2 sizes of their own that no inline
# style overrides, and they would take half of the small explorer panel.
STYLE_H1 = "font-size:10pt; font-weight:bold; color:#1f3a5a; margin:0 0 4px 0;"
STYLE_H2 = "font-weight:bold; color:#ffffff; background-color:#1f3a5a; margin:8px 0 2px 0;"
STYLE_CODE = "font-family:'Courier New',Courier,monospace; color:#1f5fa8; white-space:nowrap;"
TABLE = '<table cellspacing="0" cellpadding="2" width="100%">\n'
TH = '<th bgcolor="#dfe7f0" align="left">'
STYLE_NOTE = "color:#5a6b7d;"


def esc(text):
    """HTML text with every non-ASCII letter as a character reference, so the pages read the
    same whatever encoding the viewer assumes."""
    out = html.escape(text, quote=True)
    return out.encode("ascii", "xmlcharrefreplace").decode("ascii")


def page_name(template):
    return template.replace(".css", ".htm")


def kzp_link(insert, label=None):
    return '<a href="kzp:%s"><tt>%s</tt></a>' % (esc(insert), esc(label or insert))


def page(title, body):
    return ("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
            "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=us-ascii\">\n"
            "<title>%s</title>\n</head>\n<body style=\"%s\">\n%s</body>\n</html>\n"
            % (esc(title), STYLE_BODY, body)).encode("ascii", "xmlcharrefreplace").decode("ascii")


def var_table(rows, first="Variable"):
    out = [TABLE + "<tr>%s%s</th>%sBedeutung</th></tr>\n" % (TH, first, TH)]
    for insert, desc in rows:
        out.append("<tr><td nowrap>%s</td><td>%s</td></tr>\n" % (kzp_link(insert), esc(desc)))
    out.append("</table>\n")
    return "".join(out)


def uses(pages, template):
    return pages == "*" or template in pages.split()


def template_page(name, heading, about, snippets):
    body = ['<p style="%s">%s <span style="%s">(%s)</span></p>\n'
            % (STYLE_H1, esc(heading), STYLE_NOTE, esc(name))]
    body.append('<p style="%s">Ein Klick fügt einen blauen Eintrag an der Schreibmarke ein. '
                '<a href="var_main.htm">Alle Seiten</a> &middot; '
                '<a href="lang.htm">Sprachtexte</a></p>\n' % STYLE_NOTE)
    # The panel is small: the variables of this very page come first, then ready-made pieces.
    if not name.endswith(".css"):
        own = [("%%" + v[1] + "%%", v[2]) for v in VARIABLES if v[3] != "*" and uses(v[3], name)]
        if own:
            body.append('<p style="%s">&nbsp;Variablen dieser Seite</p>\n' % STYLE_H2)
            body.append(var_table(own))
    if snippets:
        body.append('<p style="%s">&nbsp;Bausteine</p>\n' % STYLE_H2)
        body.append(var_table([(text, label) for label, text in snippets], "Baustein"))
    if not name.endswith(".css"):
        blocks = [(b[1], b[2]) for b in BLOCKS if uses(b[3], name)]
        body.append('<p style="%s">&nbsp;Blöcke</p>\n' % STYLE_H2)
        body.append(var_table(blocks, "Block"))
        common = [("%%" + v[1] + "%%", v[2]) for v in VARIABLES if v[3] == "*"]
        body.append('<p style="%s">&nbsp;Auf jeder Seite</p>\n' % STYLE_H2)
        body.append(var_table(common))
    body.append('<p style="%s">&nbsp;Über diese Seite</p>\n' % STYLE_H2)
    body.append("<p>%s</p>\n" % esc(about))
    return page(heading, "".join(body))


def main_page():
    # The explorer panel shows only a few lines: one line of help, then the pages; the longer
    # explanation waits at the end.
    body = ['<p style="%s">Variablen-Explorer</p>\n' % STYLE_H1,
            '<p style="%s">Wählen Sie eine Seite, oder klicken Sie auf einen blauen Eintrag, um ihn '
            'an der Schreibmarke einzufügen.</p>\n' % STYLE_NOTE]
    body.append('<p style="%s">&nbsp;Seiten des Standard-Packs</p>\n' % STYLE_H2)
    body.append(TABLE)
    for name, heading, _about, _snips in TEMPLATES:
        body.append('<tr><td nowrap><a href="%s">%s</a></td><td>%s</td></tr>\n'
                    % (page_name(name), esc(name), esc(heading)))
    body.append("</table>\n")
    body.append('<p style="%s">&nbsp;Blöcke</p>\n' % STYLE_H2)
    body.append(var_table([(b[1], b[2]) for b in BLOCKS], "Block"))
    for group, title in GROUPS.items():
        rows = [("%%" + v[1] + "%%", v[2]) for v in VARIABLES if v[0] == group]
        body.append('<p style="%s">&nbsp;%s</p>\n' % (STYLE_H2, esc(title)))
        body.append(var_table(rows))
    body.append('<p style="%s">&nbsp;So arbeiten Variablen</p>\n' % STYLE_H2)
    body.append("<p>Tarvex ersetzt in den Templates jede Variable der Form "
                '<span style="%s">%%%%name%%%%</span> durch ihren Wert, bevor es die Seite '
                "ausliefert. Im Editor öffnet <b>%%%%</b> am Anfang eines Worts die Liste aller "
                "Variablen; Strg+Leertaste direkt hinter %%%% öffnet sie erneut.</p>\n" % STYLE_CODE)
    return page("Variablen-Explorer", "".join(body))


def lang_page():
    body = ['<p style="%s">Sprachdatei</p>\n' % STYLE_H1,
            '<p style="%s">Ein Klick fügt die Variable des Textes an der Schreibmarke ein. '
            '<a href="var_main.htm">Variablen-Explorer</a></p>\n' % STYLE_NOTE,
            TABLE + "<tr>%sVariable</th>%sDeutsch</th>%sEnglisch</th></tr>\n" % (TH, TH, TH)]
    for num, de, en in LANG:
        body.append("<tr><td nowrap>%s</td><td>%s</td><td>%s</td></tr>\n"
                    % (kzp_link("%%%%LANG%03d%%%%" % num), esc(de), esc(en)))
    body.append("</table>\n")
    body.append("<p>Texte, die in jeder Sprache anders lauten, stehen nicht im Template, sondern "
                "in der Sprachdatei der Anwendung. Das Template nennt nur ihre Nummer, etwa "
                '<span style="%s">%%%%LANG016%%%%</span> für „Betreff“.</p>\n' % STYLE_CODE)
    return page("Sprachdatei", "".join(body))


def completion_lists():
    """Item lines in formatted item text (group | bold name, then a grey hint) and, on the same
    line of the second file, the text the completion inserts."""
    items, inserts = [], []
    for label, insert, desc, _t in BLOCKS:
        items.append("\\color{clGray}%s\\column{}\\color{clGreen}%s\\style{-B}\\color{clGray} %s"
                     % (label, insert.strip("%"), desc.replace("%%", "")))
        inserts.append(insert)
    for group, name, desc, _t in VARIABLES:
        items.append("\\color{clGray}%s\\column{}\\color{clNavy}%s\\style{-B}\\color{clGray} %s"
                     % (group, name, desc))
        inserts.append("%%" + name + "%%")
    for num, de, _en in LANG:
        items.append("\\color{clGray}LANG%03d\\column{}\\color{clMaroon}%s" % (num, de))
        inserts.append("%%%%LANG%03d%%%%" % num)
    return items, inserts


def loops():
    return [b[1][len("%%LOOP:"):-2] for b in BLOCKS if b[1].startswith("%%LOOP:")]


def catalogue_lines():
    """The catalogue of the template check and the preview: every variable with its sample
    values, every loop, every text of the language list; fields separated by TAB."""
    names = {v[1] for v in VARIABLES}
    assert set(SAMPLES) <= names, sorted(set(SAMPLES) - names)
    lines = ["# Generated by data/tools/make_varlib.py from its catalogue; do not edit.",
             "# var NAME SAMPLE... | loop NAME | lang LANGnnn TEXT"]
    for _group, name, _desc, _t in VARIABLES:
        samples = SAMPLES.get(name, [])
        samples = [samples] if isinstance(samples, str) else samples
        assert all("\t" not in x and "\n" not in x and x for x in samples), name
        lines.append("\t".join(["var", name] + samples))
    lines += ["loop\t" + name for name in loops()]
    lines += ["lang\tLANG%03d\t%s" % (num, de) for num, de, _en in LANG]
    return lines


def generated():
    """Every generated file: path relative to data/ -> bytes."""
    items, inserts = completion_lists()
    for line in items + inserts:
        assert "\\\\" not in line and "\n" not in line
    # The studio reads the lists as 8-bit text in the Windows code page.
    files = {"varLib01.db": ("\n".join(items) + "\n").encode("cp1252"),
             "varLib02.db": ("\n".join(inserts) + "\n").encode("cp1252"),
             "varLib03.db": ("\n".join(catalogue_lines()) + "\n").encode("cp1252"),
             "varLib/var_main.htm": main_page().encode("ascii"),
             "varLib/lang.htm": lang_page().encode("ascii")}
    for name, heading, about, snippets in TEMPLATES:
        files["varLib/" + page_name(name)] = template_page(name, heading, about, snippets).encode("ascii")
    return files


def main(argv):
    files = generated()
    if argv[1:] == ["--check"]:
        # Used by the test suite: a hand edit of a generated file, or a catalogue change that
        # was not regenerated, shows up here.
        stale = [rel for rel, data in sorted(files.items())
                 if not os.path.exists(os.path.join(DATA, rel))
                 or open(os.path.join(DATA, rel), "rb").read() != data]
        pages = {n for n in os.listdir(os.path.join(DATA, "varLib")) if n.endswith(".htm")}
        stale += sorted("varLib/" + n + " (not generated)" for n in pages if "varLib/" + n not in files)
        for rel in stale:
            print("out of date: data/" + rel)
        print("generated files up to date" if not stale else "run: python3 data/tools/make_varlib.py")
        return 1 if stale else 0
    os.makedirs(os.path.join(DATA, "varLib"), exist_ok=True)
    for rel, data in files.items():
        with open(os.path.join(DATA, rel), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
