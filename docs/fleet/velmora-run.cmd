@echo off
rem Plays every package of the folder "packages" beside this file, in the order of its Position.lst, in one
rem velmora.exe run, into one report named after this machine. Then writes the run's exit code into
rem COMPUTERNAME.exit-code beside the report, which is what a deployment tool waits for: 2 when any package
rem failed, else 1 when any was skipped or stopped, else 3010 when an installer asks for a restart, else 0.
rem   velmora-run.cmd [REPORT-FOLDER] [WINDOW-MINUTES] [REBOOT]
rem With REBOOT the run restarts Windows when an installer asks for it and packages remain, and goes on at the
rem user's next logon by itself: this file then ends with the session, and the run's end is the last line of
rem the report, "#end" and the exit code of the whole run (see docs/fleet.md).
rem Needs the session of a logged-on user and a full administrator token (run it as an elevated task).
setlocal
set "HERE=%~dp0"
set "REPORTS=%~1"
if "%REPORTS%"=="" set "REPORTS=%HERE%reports"
set "MINUTES=%~2"
if "%MINUTES%"=="" set "MINUTES=15"
if /i "%~3"=="REBOOT" (set "RESTART=/REBOOT") else (set "RESTART=/REBOOT=0")
if not exist "%REPORTS%\" mkdir "%REPORTS%"

rem cmd puts in the computer's name here; velmora.exe would do it too, where no shell stands between.
start "" /wait "%HERE%velmora.exe" %RESTART% /TIMEOUT=%MINUTES% /nostat /LOG="%REPORTS%\%COMPUTERNAME%.txt" /inst "%HERE%packages"
set "CODE=%errorlevel%"
rem 4: nothing was played, no click could land in this session. Any other code (the program could not start,
rem say) counts as a failure.
if not %CODE%==0 if not %CODE%==1 if not %CODE%==2 if not %CODE%==3010 if not %CODE%==4 set "CODE=2"
> "%REPORTS%\%COMPUTERNAME%.exit-code" echo %CODE%
exit /b %CODE%
