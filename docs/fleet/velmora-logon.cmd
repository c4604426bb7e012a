@echo off
rem Group Policy logon script (User Configuration > Policies > Windows Settings > Scripts > Logon): plays the
rem packages once per machine, in the session of the user who logs on, from a share, and leaves each machine's
rem report on another share. docs/fleet.md tells the whole recipe.
rem A logon script runs with the token the user's session has: this works for an account whose token is not
rem filtered by UAC (the built-in Administrator of a staging machine logging on automatically, as staging tools
rem do). For everyone else, start velmora-run.cmd as an elevated task in their session instead.
setlocal
rem The program, velmora-run.cmd, packages\ and installers\ (the packages' installer paths point there).
set "SHARE=\\server\velmora"
rem Writable for the accounts that log on; one report per machine: COMPUTERNAME.txt and COMPUTERNAME.exit-code.
set "REPORTS=\\server\velmora-reports"
rem Change it to play the packages again on every machine.
set "DEPLOYMENT=2026-12"
set "MARK=%ProgramData%\Velmora Runwright\played-%DEPLOYMENT%"

if exist "%MARK%" exit /b 0
net session >nul 2>&1
if errorlevel 1 (
    > "%REPORTS%\%COMPUTERNAME%.not-elevated" echo %USERNAME% has no full administrator token here
    exit /b 1
)
call "%SHARE%\velmora-run.cmd" "%REPORTS%" 15
set "CODE=%errorlevel%"
if not exist "%ProgramData%\Velmora Runwright\" mkdir "%ProgramData%\Velmora Runwright"
> "%MARK%" echo %CODE%
exit /b %CODE%
