#ifndef TALVORA_PERFILES_H
#define TALVORA_PERFILES_H

// The 44 settings in file order, each with its value in the three profiles:
// Clásico, the init-script server the program was designed for (the values
// a configuration file held before profiles existed, byte for byte);
// Debian 12 and 13; and the Red Hat family 9 and 10 (RHEL, AlmaLinux, Rocky,
// current Fedora). Under systemd a status names a unit ("systemd:UNIT")
// instead of a pid file, and services are driven by their canonical unit
// names, never by aliases that exist only while a unit is enabled.
//
// Where a fact comes from: "D" is the Debian package and the file in it
// (tools/comprobar-debian checks each against the packages themselves; unit
// files lie in lib/systemd/system on 12, usr/lib/systemd/system on 13), "RH"
// the Red Hat family's package.
//
// Needs TALVORA_DATADIR (rutas.h).

// clang-format off
#define TALVORA_AJUSTES(X)                                                                         \
    /* D, RH: xdg-utils, usr/bin/xdg-open hands a file to the desktop's own editor */              \
    X(cEditor, "kwrite", "xdg-open", "xdg-open")                                                   \
    X(cAbrirManual, "htmlview file:" TALVORA_DATADIR "/doc/talvora/index.html",                    \
      "xdg-open file:" TALVORA_DATADIR "/doc/talvora/index.html",                                  \
      "xdg-open file:" TALVORA_DATADIR "/doc/talvora/index.html")                                  \
    /* korv-gate.service is ours: Archivo > Crear korv-gate installs it beside the script */      \
    X(cIniciarGate, "/etc/rc.d/init.d/korv-gate start",                                            \
      "systemctl start korv-gate.service", "systemctl start korv-gate.service")                    \
    X(cDetenerGate, "/etc/rc.d/init.d/korv-gate stop",                                             \
      "systemctl stop korv-gate.service", "systemctl stop korv-gate.service")                      \
    X(cReiniciarGate, "/etc/rc.d/init.d/korv-gate restart",                                        \
      "systemctl restart korv-gate.service", "systemctl restart korv-gate.service")                \
    X(cEstadoGate, "/var/run/korv-gate.pid",                                                       \
      "systemd:korv-gate.service", "systemd:korv-gate.service")                                    \
    /* ours: under systemd the script goes to usr/local/sbin on every family (RH 9 minimal has    \
       neither etc/rc.d/init.d nor etc/init.d: they come with chkconfig) */                       \
    X(cEditarGate, "%editor /etc/rc.d/init.d/korv-gate",                                           \
      "%editor /usr/local/sbin/korv-gate", "%editor /usr/local/sbin/korv-gate")                    \
    /* D: squid, squid.service; RH: squid, squid.service */                                        \
    X(cIniciarSquid, "/etc/rc.d/init.d/squid start",                                               \
      "systemctl start squid.service", "systemctl start squid.service")                            \
    X(cDetenerSquid, "/etc/rc.d/init.d/squid stop",                                                \
      "systemctl stop squid.service", "systemctl stop squid.service")                              \
    X(cReiniciarSquid, "/etc/rc.d/init.d/squid restart",                                           \
      "systemctl restart squid.service", "systemctl restart squid.service")                        \
    X(cEstadoSquid, "/var/run/squid.pid",                                                          \
      "systemd:squid.service", "systemd:squid.service")                                            \
    /* D: squid, etc/squid/squid.conf; RH: squid, /etc/squid/squid.conf */                        \
    X(cEditarSquid, "%editor /etc/squid/squid.conf",                                               \
      "%editor /etc/squid/squid.conf", "%editor /etc/squid/squid.conf")                            \
    /* D: squid.conf's access_log default; RH: the same */                                         \
    X(cLogSquid, "%editor /var/log/squid/access.log",                                              \
      "%editor /var/log/squid/access.log", "%editor /var/log/squid/access.log")                    \
    /* D: apache2, apache2.service; RH: httpd, httpd.service */                                    \
    X(cIniciarHttpd, "/etc/rc.d/init.d/httpd start",                                               \
      "systemctl start apache2.service", "systemctl start httpd.service")                          \
    X(cDetenerHttpd, "/etc/rc.d/init.d/httpd stop",                                                \
      "systemctl stop apache2.service", "systemctl stop httpd.service")                            \
    X(cReiniciarHttpd, "/etc/rc.d/init.d/httpd restart",                                           \
      "systemctl restart apache2.service", "systemctl restart httpd.service")                      \
    X(cEstadoHttpd, "/var/run/httpd.pid",                                                          \
      "systemd:apache2.service", "systemd:httpd.service")                                          \
    /* D: apache2, etc/apache2/apache2.conf; RH: httpd, /etc/httpd/conf/httpd.conf */             \
    X(cEditarHttpd, "%editor /etc/httpd/conf/httpd.conf",                                          \
      "%editor /etc/apache2/apache2.conf", "%editor /etc/httpd/conf/httpd.conf")                   \
    /* D: apache2, 000-default.conf's CustomLog in APACHE_LOG_DIR (envvars); RH: httpd.conf */   \
    X(cLogHttpd, "%editor /var/log/httpd/access_log",                                              \
      "%editor /var/log/apache2/access.log", "%editor /var/log/httpd/access_log")                  \
    /* D: samba, smbd.service (smb.service only an alias: 12 a link, 13 an Alias=), pid file      \
       /run/samba/smbd.pid; RH: samba, smb.service, pid file /run/smbd.pid (--with-piddir=/run) */ \
    X(cIniciarSamba, "/etc/rc.d/init.d/smb start",                                                 \
      "systemctl start smbd.service", "systemctl start smb.service")                               \
    X(cDetenerSamba, "/etc/rc.d/init.d/smb stop",                                                  \
      "systemctl stop smbd.service", "systemctl stop smb.service")                                 \
    X(cReiniciarSamba, "/etc/rc.d/init.d/smb restart",                                             \
      "systemctl restart smbd.service", "systemctl restart smb.service")                           \
    X(cEstadoSamba, "/var/lock/subsys/smb",                                                        \
      "systemd:smbd.service", "systemd:smb.service")                                               \
    /* D: samba-common's postinst makes /etc/samba/smb.conf from usr/share/samba/smb.conf;         \
       RH: samba-common, /etc/samba/smb.conf. SWAT exists nowhere */                               \
    X(cEditarSamba, "htmlview http://127.0.0.1:901/",                                              \
      "%editor /etc/samba/smb.conf", "%editor /etc/samba/smb.conf")                                \
    /* D: smb.conf's "log file = /var/log/samba/log.%m"; RH: the same */                           \
    X(cLogSamba, "kfmclient openProfile filemanagement /var/log/samba",                            \
      "xdg-open /var/log/samba", "xdg-open /var/log/samba")                                        \
    /* D: sendmail-bin, etc/init.d/sendmail (12: a generated unit; 13: sendmail.service, a         \
       wrapper that runs the script); RH: sendmail, sendmail.service */                            \
    X(cIniciarSendmail, "/etc/rc.d/init.d/sendmail start",                                         \
      "systemctl start sendmail.service", "systemctl start sendmail.service")                      \
    X(cDetenerSendmail, "/etc/rc.d/init.d/sendmail stop",                                          \
      "systemctl stop sendmail.service", "systemctl stop sendmail.service")                        \
    X(cReiniciarSendmail, "/etc/rc.d/init.d/sendmail restart",                                     \
      "systemctl restart sendmail.service", "systemctl restart sendmail.service")                  \
    X(cEstadoSendmail, "/var/run/sendmail.pid",                                                    \
      "systemd:sendmail.service", "systemd:sendmail.service")                                      \
    /* D: no package ships etc/mail/sendmail.mc: sendmail-bin's postinst copies it (through        \
       sendmail-base's update_mc) from sendmail-cf's usr/share/sendmail/cf/debian/sendmail.mc;     \
       RH: sendmail ships /etc/mail/sendmail.mc; sendmail-cf holds the m4 files that rebuild      \
       sendmail.cf from it */                                                                      \
    X(cEditarSendmail, "%editor /etc/sendmail.cf",                                                 \
      "%editor /etc/mail/sendmail.mc", "%editor /etc/mail/sendmail.mc")                            \
    /* D: sendmail logs to syslog, kept by the journal; RH: /var/log/maillog exists only with      \
       rsyslog installed (journalctl -u sendmail.service otherwise). The family has no command     \
       like Debian's x-terminal-emulator to show the journal in, so the file stays */             \
    X(cLogSendmail, "%editor /var/log/maillog",                                                    \
      "x-terminal-emulator -e journalctl -u sendmail.service", "%editor /var/log/maillog")         \
    /* D: bind9, named.service (bind9.service is only its Alias=); RH: bind */                     \
    X(cIniciarDns, "/etc/rc.d/init.d/named start",                                                 \
      "systemctl start named.service", "systemctl start named.service")                            \
    X(cDetenerDns, "/etc/rc.d/init.d/named stop",                                                  \
      "systemctl stop named.service", "systemctl stop named.service")                              \
    X(cReiniciarDns, "/etc/rc.d/init.d/named restart",                                             \
      "systemctl restart named.service", "systemctl restart named.service")                        \
    X(cEstadoDns, "/var/run/named/named.pid",                                                      \
      "systemd:named.service", "systemd:named.service")                                            \
    /* D: bind9, etc/bind/named.conf; RH: bind, /etc/named.conf */                                 \
    X(cEditarDns, "/usr/bin/bindconf",                                                             \
      "%editor /etc/bind/named.conf", "%editor /etc/named.conf")                                   \
    /* D: xinetd, etc/init.d/xinetd (12: a generated unit; 13: xinetd.service, which runs          \
       xinetd -dontfork and writes no PID file); RH: gone since 9, so the row tells Error */       \
    X(cIniciarXinetd, "/etc/rc.d/init.d/xinetd start",                                             \
      "systemctl start xinetd.service", "systemctl start xinetd.service")                          \
    X(cDetenerXinetd, "/etc/rc.d/init.d/xinetd stop",                                              \
      "systemctl stop xinetd.service", "systemctl stop xinetd.service")                            \
    X(cReiniciarXinetd, "/etc/rc.d/init.d/xinetd restart",                                         \
      "systemctl restart xinetd.service", "systemctl restart xinetd.service")                      \
    X(cEstadoXinetd, "/var/run/xinetd.pid",                                                        \
      "systemd:xinetd.service", "systemd:xinetd.service")                                          \
    /* D: xinetd, etc/xinetd.d; RH: xinetd (8), /etc/xinetd.d */                                   \
    X(cEditarXinetd, "kfmclient openProfile filemanagement /etc/xinetd.d",                         \
      "xdg-open /etc/xinetd.d", "xdg-open /etc/xinetd.d")                                          \
    /* D: xinetd.conf sets no log_type; the default it names in a comment, SYSLOG daemon info,     \
       goes to the journal; RH: rsyslog's /var/log/secure, only with rsyslog installed */         \
    X(cLogXinetd, "%editor /var/log/secure",                                                       \
      "x-terminal-emulator -e journalctl -u xinetd.service", "%editor /var/log/secure")            \
    X(cDirectorioXinetd, "/etc/xinetd.d", "/etc/xinetd.d", "/etc/xinetd.d")                        \
    /* ours: Archivo > Crear /etc/ftpaccess installs it */                                         \
    X(cEditarFtp, "%editor /etc/ftpaccess", "%editor /etc/ftpaccess", "%editor /etc/ftpaccess")
// clang-format on

#endif
